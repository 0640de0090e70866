#include "engine/system/Usage.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tidvale;

TEST(Usage, PercentIsTruncatedExactly)
{
    EXPECT_EQ(memoryUsage(1000, 1).percent, 99); // 99.9 % is 99, not 100
    EXPECT_EQ(memoryUsage(100, 71).percent, 29); // no floating-point 28.999…
    EXPECT_EQ(memoryUsage(100, 43).percent, 57);
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
