#include "engine/finders/LargeFiles.h"

#include "support/Names.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tidvale;

namespace {

// A sparse file: large files cost no disk or time in tests.
std::string sparse(TestTree& t, const std::string& rel, int64_t size)
{
    const auto p = t.file(rel, 0);
    std::filesystem::resize_file(p, static_cast<uintmax_t>(size));
    return p;
}

} // namespace

TEST(LargeFiles, ThresholdIsInclusiveAndTheListLargestFirstInWalkOrder)
{
    TestTree t;
    const int64_t fifty = kLargeFileThresholds[kDefaultLargeFileThreshold].bytes;
    ASSERT_EQ(fifty, 52428800);
    sparse(t, "Documents/exact.pdf", fifty);
    sparse(t, "Documents/below", fifty - 1);
    sparse(t, "Downloads/same-size.iso", fifty);
    sparse(t, "Music/largest.flac", 3 * fifty);
    std::vector<std::string> progress;
    const auto items = findLargeFiles(testPool(),
        {t.path("Downloads"), t.path("Documents"), t.path("Missing"), t.path("Music")}, fifty,
        [&](const std::string& text) { progress.push_back(text); });
    EXPECT_EQ(
        names(items), (std::vector<std::string>{"largest.flac", "same-size.iso", "exact.pdf"}));
    EXPECT_EQ(progress,
        (std::vector<std::string>{"Escaneando Downloads...", "Escaneando Documents...",
            "Escaneando Missing...", "Escaneando Music..."}));
    EXPECT_EQ(items[2].path, t.path("Documents/exact.pdf"));
    EXPECT_EQ(largeFilesSummary(items), "3 archivos · 262,1 MB en total");

    // "1 GB" lists only files of at least 1073741824 bytes.
    sparse(t, "Movies/film.mov", kLargeFileThresholds[5].bytes);
    sparse(t, "Movies/almost.mov", kLargeFileThresholds[5].bytes - 1);
    EXPECT_EQ(names(findLargeFiles(testPool(), {t.path("Movies")}, kLargeFileThresholds[5].bytes)),
        std::vector<std::string>{"film.mov"});
}

TEST(LargeFiles, HiddenPackagedLinkedAndTwiceReachedFilesAreListedOnce)
{
    TestTree t;
    sparse(t, "Documents/visible.bin", 2000);
    sparse(t, "Documents/.hidden.bin", 2000);
    sparse(t, "Documents/.folder/inner.bin", 2000);
    sparse(t, "Documents/Editor.app/Contents/big.bin", 2000);
    t.link("Documents/link.bin", t.path("Documents/visible.bin"));
    ASSERT_EQ(
        ::link(t.path("Documents/visible.bin").c_str(), t.path("Documents/hard.bin").c_str()), 0);
    ASSERT_EQ(::mkfifo(t.path("Documents/fifo").c_str(), 0600), 0);
    t.link("Desktop", t.path("Documents"));
    const auto items = findLargeFiles(testPool(), {t.path("Documents"), t.path("Desktop")}, 1000);
    ASSERT_EQ(items.size(), 1u); // one file, whichever of its two names the walk met first
    EXPECT_EQ(items[0].path.rfind(t.path("Documents/"), 0), 0u);
    t.setMtime("Documents/visible.bin", 1000000000);
    EXPECT_EQ(std::chrono::system_clock::to_time_t(
                  findLargeFiles(testPool(), {t.path("Documents")}, 1)[0].modified),
        1000000000);
}
