#include "platform/PropertyList.h"

#include "support/BinaryPlistWriter.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using tidvale::platform::parsePropertyList;
using tidvale::platform::PlistDictionary;
using tidvale::platform::readPropertyListFile;

namespace {

std::string unhex(std::string_view hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return out;
}

// Written by Python's plistlib, an independent implementation of the format:
// {"Label": "com.example.agent", "Program": "/bin/true", "RunAtLoad": true, "N": 3,
//  "Nested": {"a": [1, 2]}, "Uni": "café 😀"}
const std::string kAgentBinary = unhex(
    "62706c6973743030d60102030405060708090e0f10554c6162656c514e564e65737465645750726f6772616d"
    "5952756e41744c6f616453556e695f1011636f6d2e6578616d706c652e6167656e741003d10a0b5161a20c0d"
    "10011002592f62696e2f74727565096700630061006600e90020d83dde0008151b1d242c363a4e505355585a"
    "5c66670000000000000101000000000000001100000000000000000000000000000076");
// {"Label": 42, "Program": "x"}
const std::string kNumericLabelBinary
    = unhex("62706c6973743030d201020304554c6162656c5750726f6772616d102a5178080d131b1d000000000000"
            "010100000000000000050000000000000000000000000000001f");

const std::string kInfoXml
    = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n<dict>\n"
      "  <!-- a comment <dict> -->\n"
      "  <key>CFBundleIdentifier</key><string>com.a&amp;b.&#x41;pp</string>\n"
      "  <key>CFBundleShortVersionString</key><string>caf&#233; "
      "<![CDATA[<1.0>]]></string>\n"
      "  <key>Count</key><integer>12</integer>\n"
      "  <key>Flag</key><true/>\n"
      "  <key>Empty</key><string/>\n"
      "  <key>Deep</key><dict><key>Label</key><string>inner</string>"
      "<key>L</key><array><string>x</string><array/><dict/></array></dict>\n"
      "  <key>Blob</key><data>AAEC</data>\n"
      "</dict>\n</plist>\n";

std::optional<std::string> entry(const std::optional<PlistDictionary>& d, const std::string& key)
{
    if (!d || !d->count(key))
        return std::string("<absent>");
    return d->at(key);
}

} // namespace

TEST(PropertyList, XmlKeepsTextsAndMarksOtherKinds)
{
    const auto d = parsePropertyList(kInfoXml);
    ASSERT_TRUE(d);
    EXPECT_EQ(entry(d, "CFBundleIdentifier"), "com.a&b.App");
    EXPECT_EQ(entry(d, "CFBundleShortVersionString"), "caf\xC3\xA9 <1.0>");
    EXPECT_EQ(entry(d, "Empty"), "");
    for (const char* other : {"Count", "Flag", "Deep", "Blob"})
        EXPECT_EQ(entry(d, other), std::nullopt) << other;
    EXPECT_EQ(entry(d, "Label"), "<absent>"); // nested keys are not top-level entries
    EXPECT_EQ(d->size(), 7u);

    EXPECT_EQ(
        entry(parsePropertyList("<dict><key>Label</key><string>x</string></dict>"), "Label"), "x");
    EXPECT_TRUE(parsePropertyList("<plist><dict/></plist>"));
}

TEST(PropertyList, MalformedXmlYieldsNothing)
{
    std::string nested = "<plist><dict><key>k</key>";
    for (int i = 0; i < 100000; ++i)
        nested += "<array>";
    const std::string in = "<plist><dict><key>a</key>", out = "</dict></plist>";
    for (const std::string& doc : std::vector<std::string>{"", "plain text, not a list",
             "<plist><array><string>x</string></array></plist>", in + "<string>b</string></dict>",
             in + "<string>b</dict></plist>", in + "<banana/>" + out,
             in + "<string>&bogus;</string>" + out, in + "<string>&#xD800;</string>" + out,
             in + "<string>&#0;</string>" + out, in + out, "<plist><dict/></plist> trailing",
             in + "<string><![CDATA[x</string>" + out, "<plist version=\"1.0><dict/></plist>",
             in + std::string(100000, '\0'), nested})
        EXPECT_FALSE(parsePropertyList(doc)) << doc.substr(0, 80);

    // Every truncation of a valid document is refused, not read half-way.
    for (size_t n = 0; n < kInfoXml.rfind("</plist>"); ++n)
        ASSERT_FALSE(parsePropertyList(kInfoXml.substr(0, n))) << n;
}

TEST(PropertyList, BinaryFromAnotherWriter)
{
    const auto agent = parsePropertyList(kAgentBinary);
    ASSERT_TRUE(agent);
    EXPECT_EQ(entry(agent, "Label"), "com.example.agent");
    EXPECT_EQ(entry(agent, "Uni"), "caf\xC3\xA9 \xF0\x9F\x98\x80"); // UTF-16 with a surrogate pair
    for (const char* other : {"RunAtLoad", "N", "Nested"})
        EXPECT_EQ(entry(agent, other), std::nullopt) << other;
    const auto numeric = parsePropertyList(kNumericLabelBinary);
    EXPECT_EQ(entry(numeric, "Label"), std::nullopt);
    EXPECT_EQ(entry(numeric, "Program"), "x");

    for (const auto* sample : {&kAgentBinary, &kNumericLabelBinary})
        for (size_t n = 0; n < sample->size(); ++n)
            ASSERT_FALSE(parsePropertyList(sample->substr(0, n))) << n;
}

TEST(PropertyList, HostileBinaryYieldsNothing)
{
    using W = BinaryPlistWriter;
    const std::string good = W::oneEntry(W::ascii("Label"), W::ascii("ok"));
    ASSERT_EQ(entry(parsePropertyList(good), "Label"), "ok");
    // Lies in the trailer, counted from the end of the document.
    auto lie = [&](size_t fromEnd, const std::string& bytes) {
        return good.substr(0, good.size() - fromEnd) + bytes
            + good.substr(good.size() - fromEnd + bytes.size());
    };
    std::string amplifying; // one long string behind every entry: gigabytes of copies
    {
        W w;
        w.refSize = 1;
        w.offsetSize = 4;
        w.add(w.dict(std::vector<std::pair<size_t, size_t>>(60000, {1, 2})));
        w.add(W::ascii("k"));
        w.add(W::ascii(std::string(5000, 'a')));
        amplifying = w.build(0);
    }
    const std::vector<std::pair<const char*, std::string>> cases{
        {"objects past the table", lie(24, W::be(1000, 8))},
        {"table in the header", lie(8, W::be(3, 8))},
        {"table past the end", lie(8, W::be(1u << 30, 8))},
        {"offset width 0", lie(26, std::string(1, '\0'))}, {"reference width 9", lie(25, "\x09")},
        {"top object outside", lie(16, W::be(7, 8))},
        {"key not a text", W::oneEntry(W::integer(5), W::ascii("v"))},
        {"reference to no object", W::document({W().dict({{1, 40}}), W::ascii("Label")})},
        {"string longer than the file",
            W::oneEntry(W::ascii("Label"), "\x5F\x13" + W::be(uint64_t(1) << 62, 8) + "abc")},
        {"dictionary count overflowing", W::document({"\xDF\x13" + W::be(~uint64_t(0) / 2, 8)})},
        {"root not a dictionary", W::document({std::string("\xA1\x00\x01", 3), W::ascii("x")})},
        {"amplification", amplifying}};
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(parsePropertyList(bytes)) << what;
}

TEST(PropertyList, OnlyRegularFilesAreRead)
{
    TestTree t;
    const std::string good = t.text("good.plist", kInfoXml);
    const std::string fifo = t.path("fifo.plist");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readPropertyListFile(fifo)); // returns at once instead of waiting for a writer
    EXPECT_FALSE(readPropertyListFile(t.dir("folder.plist")));
    EXPECT_FALSE(readPropertyListFile(t.path("missing.plist")));
    EXPECT_FALSE(readPropertyListFile(t.file("huge.plist", 9 << 20, ' ')));
    EXPECT_EQ(entry(readPropertyListFile(t.link("link.plist", good)), "Empty"), "");
}
