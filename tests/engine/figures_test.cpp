// How sizes, dates and usage figures read on the screens.
#include "engine/format/ByteText.h"
#include "engine/format/DateText.h"
#include "engine/system/Usage.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <tuple>

using namespace tidvale;

// Each size in the files' form and the junk tools' form, at the bounds where the unit
// or the rounding changes; never "1000 KB": rounding up moves to the next unit.
TEST(ByteText, FileJunkAndMemoryForms)
{
    const std::tuple<int64_t, const char*, const char*> cases[] = {{0, "Cero KB", "Cero KB"},
        {1, "1 byte", "1 KB"}, {999, "999 bytes", "1 KB"}, {1000, "1 KB", "1 KB"},
        {1499, "1 KB", "1 KB"}, {1500, "2 KB", "2 KB"}, {999499, "999 KB", "999 KB"},
        {999500, "1 MB", "1 MB"}, {1250000, "1,3 MB", "1,3 MB"}, {1500000000, "1,5 GB", "1,5 GB"},
        {1234567890, "1,23 GB", "1,23 GB"}, {2000000000000, "2 TB", "2000 GB"},
        {25000000000000, "25 TB", "25.000 GB"}, {-1500000, "-1,5 MB", "-1,5 MB"}};
    for (const auto& [bytes, file, junk] : cases) {
        EXPECT_EQ(formatFileBytes(bytes), file) << bytes;
        EXPECT_EQ(formatJunkBytes(bytes), junk) << bytes;
    }
    EXPECT_EQ(formatFileBytes(INT64_MAX), "9,22 EB"); // no overflow at the extremes
    EXPECT_EQ(formatFileBytes(INT64_MIN), "-9,22 EB");
    // Memory counts in powers of 1024.
    EXPECT_EQ(formatMemoryBytes(0), "Cero KB");
    EXPECT_EQ(formatMemoryBytes(512), "512 bytes");
    EXPECT_EQ(formatMemoryBytes(1024), "1 KB");
    EXPECT_EQ(formatMemoryBytes(1536ULL << 20), "1,5 GB");
    EXPECT_EQ(formatMemoryBytes(1000ULL << 10), "1 MB");
    EXPECT_EQ(formatMemoryBytes(999ULL << 10), "999 KB");
}

TEST(DateText, ShortSpanishStyleAndIso)
{
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(formatShortDate(1796515200), "6/12/26"); // 2026-12-06
    EXPECT_EQ(formatShortDate(946684800), "1/1/00");
    EXPECT_EQ(formatIsoDate(1796515200), "2026-12-06T00:00:00Z");
}

TEST(Usage, PercentIsTruncatedExactly)
{
    EXPECT_EQ(memoryUsage(1000, 1).percent, 99); // 99.9 % is 99, not 100
    EXPECT_EQ(memoryUsage(100, 71).percent, 29); // no floating-point 28.999…
    EXPECT_EQ(memoryUsage(100, 0).percent, 100);
    const uint64_t big = std::numeric_limits<uint64_t>::max();
    EXPECT_EQ(memoryUsage(big, big / 2).percent, 50); // no overflow in ×100
    const int64_t most = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(volumeUsage({most, 0, most, ""}).percent, 100);
    EXPECT_EQ(volumeUsage({most, most, most, ""}).percent, 50); // no overflow in used + free
}

TEST(Usage, NothingUsedWhenFreeIsNotBelowTotal)
{
    for (auto [total, free] : {std::pair<uint64_t, uint64_t>{0, 0}, {0, 5}, {10, 10}, {10, 11}}) {
        const Usage u = memoryUsage(total, free);
        EXPECT_EQ(u.used, 0u);
        EXPECT_EQ(u.fraction, 0.0);
        EXPECT_EQ(u.percent, 0);
    }
    EXPECT_EQ(volumeUsage({}).percent, 0);
    EXPECT_EQ(volumeUsage({10, 3, -5, ""}).used, 0u);
    EXPECT_EQ(volumeUsage({100, -1, 100, ""}).fraction, 1.0); // a nonsense free counts as none
    // A failed statistics call leaves free at 0: everything reads as used.
    EXPECT_EQ(memoryUsage(8, 0).fraction, 1.0);
}

TEST(Usage, LevelBoundsAreStrict)
{
    EXPECT_EQ(usageLevel(memoryUsage(100, 35).fraction), UsageLevel::normal);    // 0.65
    EXPECT_EQ(usageLevel(memoryUsage(1000, 349).fraction), UsageLevel::warning); // 0.651
    EXPECT_EQ(usageLevel(memoryUsage(100, 15).fraction), UsageLevel::warning);   // 0.85
    EXPECT_EQ(usageLevel(memoryUsage(1000, 149).fraction), UsageLevel::critical);
    EXPECT_EQ(usageLevel(volumeUsage({100, 15, 85, ""}).fraction), UsageLevel::warning);
    EXPECT_EQ(usageLevel(0), UsageLevel::normal);
}

TEST(Usage, VolumeSpaceKeptForTheAdministratorCountsNeitherWay)
{
    // df on an ext4 volume with a large reserve: 270 GB in all, 23.6 GB used, 79.1 GB
    // the user may still write. Counting the reserve as used would read 70 %.
    const Usage u = volumeUsage({270'553'174'016, 79'100'792'832, 23'644'487'680, "Sistema"});
    EXPECT_EQ(u.used, 23'644'487'680u);
    EXPECT_EQ(u.percent, 23);
}
