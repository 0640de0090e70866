#include "platform/PropertyList.h"

#include "support/BinaryPlistWriter.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

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
// {"CFBundleShortVersionString": "2.0.1", "CFBundleIdentifier": "org.example.Editor",
//  "CFBundleIconFile": "Editor", "LSMinimumSystemVersion": "10.13"}
const std::string kInfoBinary = unhex(
    "62706c6973743030d401020304050607085f1010434642756e646c6549636f6e46696c655f1012434642756e64"
    "6c654964656e7469666965725f101a434642756e646c6553686f727456657273696f6e537472696e675f10164c"
    "534d696e696d756d53797374656d56657273696f6e56456469746f725f10126f72672e6578616d706c652e4564"
    "69746f7255322e302e315531302e313308112439566f768b9100000000000001010000000000000009000000000"
    "00000000000000000000097");
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

    const auto bare = parsePropertyList("<dict><key>Label</key><string>x</string></dict>");
    EXPECT_EQ(entry(bare, "Label"), "x");
    EXPECT_TRUE(parsePropertyList("<plist><dict/></plist>"));
}

TEST(PropertyList, MalformedXmlYieldsNothing)
{
    const std::string deep = "<plist><dict><key>k</key>" + std::string(100000, '\0');
    std::string nested = "<plist><dict><key>k</key>";
    for (int i = 0; i < 100000; ++i)
        nested += "<array>";
    for (const std::string& doc : {
             std::string(""),
             std::string("plain text, not a list"),
             std::string("<plist><array><string>x</string></array></plist>"),
             std::string("<plist><dict><key>a</key><string>b</string></dict>"),
             std::string("<plist><dict><key>a</key><string>b</dict></plist>"),
             std::string("<plist><dict><key>a</key><banana/></dict></plist>"),
             std::string("<plist><dict><key>a</key><string>&bogus;</string></dict></plist>"),
             std::string("<plist><dict><key>a</key><string>&#x110000;</string></dict></plist>"),
             std::string("<plist><dict><key>a</key><string>&#xD800;</string></dict></plist>"),
             std::string("<plist><dict><key>a</key><string>&#0;</string></dict></plist>"),
             std::string("<plist><dict><key>a</key></dict></plist>"),
             std::string("<plist><dict><string>b</string></dict></plist>"),
             std::string("<plist><dict/></plist> trailing"),
             std::string("<plist><dict><key>a</key><string><![CDATA[x</string></dict></plist>"),
             std::string("<plist version=\"1.0><dict/></plist>"),
             deep,
             nested,
         })
        EXPECT_FALSE(parsePropertyList(doc)) << doc.substr(0, 80);

    // Every truncation of a valid document is refused, not read half-way.
    const size_t end = kInfoXml.rfind("</plist>");
    for (size_t n = 0; n < end; ++n)
        ASSERT_FALSE(parsePropertyList(kInfoXml.substr(0, n))) << n;
}

TEST(PropertyList, BinaryFromAnotherWriter)
{
    const auto agent = parsePropertyList(kAgentBinary);
    ASSERT_TRUE(agent);
    EXPECT_EQ(entry(agent, "Label"), "com.example.agent");
    EXPECT_EQ(entry(agent, "Program"), "/bin/true");
    EXPECT_EQ(entry(agent, "Uni"), "caf\xC3\xA9 \xF0\x9F\x98\x80"); // UTF-16 with a surrogate pair
    for (const char* other : {"RunAtLoad", "N", "Nested"})
        EXPECT_EQ(entry(agent, other), std::nullopt) << other;

    const auto info = parsePropertyList(kInfoBinary);
    EXPECT_EQ(entry(info, "CFBundleShortVersionString"), "2.0.1");
    EXPECT_EQ(entry(info, "CFBundleIdentifier"), "org.example.Editor");

    const auto numeric = parsePropertyList(kNumericLabelBinary);
    ASSERT_TRUE(numeric);
    EXPECT_EQ(entry(numeric, "Label"), std::nullopt);
    EXPECT_EQ(entry(numeric, "Program"), "x");

    for (const auto* sample : {&kAgentBinary, &kInfoBinary, &kNumericLabelBinary})
        for (size_t n = 0; n < sample->size(); ++n)
            ASSERT_FALSE(parsePropertyList(sample->substr(0, n))) << n;
}

TEST(PropertyList, BinaryWideReferencesAndLongCounts)
{
    BinaryPlistWriter w; // 601 objects: two-byte references, counts past 15
    const size_t root = w.add({});
    std::vector<std::pair<size_t, size_t>> entries;
    for (int i = 0; i < 300; ++i)
        entries.emplace_back(w.add(BinaryPlistWriter::ascii("key" + std::to_string(i))),
            w.add(BinaryPlistWriter::utf16(std::u16string(20, u'\u00F1'))));
    w.replace(root, w.dict(entries));
    const auto d = parsePropertyList(w.build(root));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->size(), 300u);
    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += "\xC3\xB1";
    EXPECT_EQ(entry(d, "key299"), twenty);
}

TEST(PropertyList, HostileBinaryYieldsNothing)
{
    auto make = [](auto tweak) {
        BinaryPlistWriter w;
        w.add(w.dict({{1, 2}}));
        w.add(BinaryPlistWriter::ascii("Label"));
        w.add(BinaryPlistWriter::ascii("ok"));
        tweak(w);
        return w.build(0);
    };
    ASSERT_EQ(entry(parsePropertyList(make([](BinaryPlistWriter&) {})), "Label"), "ok");

    std::vector<std::pair<const char*, std::string>> cases{
        {"objects past the table", make([](BinaryPlistWriter& w) { w.numObjects = 1000; })},
        {"table in the header", make([](BinaryPlistWriter& w) { w.tableOffset = 3; })},
        {"table past the end", make([](BinaryPlistWriter& w) { w.tableOffset = 1u << 30; })},
        {"offset width 0", make([](BinaryPlistWriter& w) { w.offsetSize = 0; })},
        {"reference width 9", make([](BinaryPlistWriter& w) { w.refSize = 9; })},
    };
    std::string topOutside = make([](BinaryPlistWriter&) {});
    topOutside[topOutside.size() - 9] = 7; // top object 7 of 3
    cases.emplace_back("top object outside", topOutside);

    BinaryPlistWriter keyNotText;
    keyNotText.add(keyNotText.dict({{1, 2}}));
    keyNotText.add(BinaryPlistWriter::integer(5));
    keyNotText.add(BinaryPlistWriter::ascii("v"));
    cases.emplace_back("key not a text", keyNotText.build(0));

    BinaryPlistWriter danglingRef;
    danglingRef.add(danglingRef.dict({{1, 40}}));
    danglingRef.add(BinaryPlistWriter::ascii("Label"));
    cases.emplace_back("reference to no object", danglingRef.build(0));

    BinaryPlistWriter longString;
    longString.add(longString.dict({{1, 2}}));
    longString.add(BinaryPlistWriter::ascii("Label"));
    longString.add(std::string("\x5F\x13") + BinaryPlistWriter::be(uint64_t(1) << 62, 8) + "abc");
    cases.emplace_back("string longer than the file", longString.build(0));

    BinaryPlistWriter hugeDict;
    hugeDict.add(std::string("\xDF\x13") + BinaryPlistWriter::be(~uint64_t(0) / 2, 8));
    cases.emplace_back("dictionary count overflowing", hugeDict.build(0));

    BinaryPlistWriter rootArray;
    rootArray.add(std::string("\xA1\x00\x01", 3));
    rootArray.add(BinaryPlistWriter::ascii("x"));
    cases.emplace_back("root not a dictionary", rootArray.build(0));

    // One long string referenced by every entry would expand a small file into
    // gigabytes of copies.
    BinaryPlistWriter amplified;
    std::vector<std::pair<size_t, size_t>> many;
    for (size_t i = 0; i < 60000; ++i)
        many.emplace_back(1, 2);
    amplified.refSize = 1;
    amplified.offsetSize = 4;
    amplified.add(amplified.dict(many));
    amplified.add(BinaryPlistWriter::ascii("k"));
    amplified.add(BinaryPlistWriter::ascii(std::string(5000, 'a')));
    cases.emplace_back("amplification", amplified.build(0));

    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(parsePropertyList(bytes)) << what;
}

// The same mutations a fuzzer starts with, run in every build so a regression shows up
// without a fuzzing toolchain (the address-sanitizer preset turns any stray read into a
// failure).
TEST(PropertyList, RandomMutationsNeverCrash)
{
    const std::vector<std::string> seeds{kAgentBinary, kInfoBinary, kNumericLabelBinary, kInfoXml};
    std::mt19937 rng(20261206);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const char interesting[] = {0, 1, 0x0F, 0x10, 0x13, 0x5F, 0x7F, '\x80', '\xD0', '\xDF', '\xFF',
        '<', '>', '&', ';', '/'};
    size_t parsed = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string s = seeds[pick(seeds.size())];
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const size_t at = pick(s.size());
            switch (pick(5)) {
            case 0:
                s[at] = static_cast<char>(s[at] ^ (1 << pick(8)));
                break;
            case 1:
                s[at] = interesting[pick(sizeof interesting)];
                break;
            case 2:
                s.resize(at);
                break;
            case 3:
                s.insert(at, s.substr(pick(s.size()), pick(16)));
                break;
            default: // the trailer and the offset table are where lies do most harm
                s[s.size() - 1 - pick(std::min<size_t>(s.size(), 48))]
                    = interesting[pick(sizeof interesting)];
            }
        }
        if (const auto d = parsePropertyList(s)) {
            ++parsed;
            for (const auto& [key, value] : *d)
                ASSERT_LE(key.size() + (value ? value->size() : 0), 8 * s.size() + 65536);
        }
    }
    EXPECT_GT(parsed, 0u); // the mutations also reach the accepting paths
}

TEST(PropertyList, OnlyRegularFilesAreRead)
{
    TestTree t;
    const std::string good = t.text("good.plist", kInfoXml);
    EXPECT_EQ(entry(readPropertyListFile(good), "CFBundleIdentifier"), "com.a&b.App");
    const std::string fifo = t.path("fifo.plist");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readPropertyListFile(fifo)); // returns at once instead of waiting for a writer
    EXPECT_FALSE(readPropertyListFile(t.dir("folder.plist")));
    EXPECT_FALSE(readPropertyListFile(t.path("missing.plist")));
    EXPECT_FALSE(readPropertyListFile(t.file("huge.plist", 9 << 20, ' ')));
    EXPECT_EQ(entry(readPropertyListFile(t.link("link.plist", good)), "CFBundleIdentifier"),
        "com.a&b.App");
}
