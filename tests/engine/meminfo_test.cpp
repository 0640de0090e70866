#ifdef __linux__
#include "platform/linux/ProcMeminfo.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

using tidvale::platform::parseMeminfo;
using tidvale::platform::readVmFigures;
using tidvale::platform::zramMemoryUsed;

TEST(Meminfo, FiguresInBytesWithWiredAndCompressed)
{
    const auto f = parseMeminfo("MemTotal:       16000000 kB\n"
                                "MemFree:         1000 kB\n"
                                "MemAvailable:    9000 kB\n"
                                "Active:          2000 kB\n"
                                "Inactive:        3000 kB\n"
                                "Active(anon):     111 kB\n"
                                "Unevictable:      40 kB\n"
                                "Mlocked:          30 kB\n"
                                "Zswap:            50 kB\n"
                                "Zswapped:        500 kB\n"
                                "HugePages_Total:   7\n");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->free, 1000u * 1024);
    EXPECT_EQ(f->active, 2000u * 1024); // not confused with "Active(anon)"
    EXPECT_EQ(f->inactive, 3000u * 1024);
    EXPECT_EQ(f->wired, 40u * 1024);      // locked pages are already among the unevictable
    EXPECT_EQ(f->compressed, 50u * 1024); // the pool, not what it holds uncompressed
}

TEST(Meminfo, OlderKernelsAndDamagedText)
{
    const auto old = parseMeminfo("MemFree: 5 kB\nActive: 1 kB");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->compressed, 0u);
    EXPECT_EQ(old->wired, 0u);
    EXPECT_EQ(old->inactive, 0u);

    EXPECT_FALSE(parseMeminfo(""));
    EXPECT_FALSE(parseMeminfo("MemTotal: 5 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemFree: lots kB\n"));
    const auto huge = parseMeminfo("MemFree: 99999999999999999999 kB\n");
    EXPECT_FALSE(huge); // does not fit 64 bits: no figure rather than a wrapped one
}

TEST(Meminfo, CompressedAddsWhatTheZramDevicesTakeToTheZswapPool)
{
    TestTree t;
    t.text("proc/meminfo", "MemFree: 1000 kB\nZswap: 50 kB\nZswapped: 500 kB\n");
    // mm_stat: original, compressed, memory used in all, limit, peak, …
    t.text("sys/block/zram0/mm_stat", "  4096000  1024000  1200000 0  1300000 0 0 0 0\n");
    t.text("sys/block/zram1/mm_stat", "8192 2048 4096 0 4096 0 0 0 0\n");
    t.text("sys/block/zram2/mm_stat", "garbage\n"); // ignored, the others still count
    t.dir("sys/block/zram3");                       // no statistics at all
    t.text("sys/block/loop0/mm_stat", "1 2 999999 0 0\n");
    EXPECT_EQ(zramMemoryUsed(t.path("sys/block")), 1200000u + 4096);
    const auto f = readVmFigures(t.root());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->compressed, 50u * 1024 + 1200000 + 4096);
    EXPECT_EQ(f->free, 1000u * 1024);

    // Neither zswap nor zram in use: nothing compressed; no meminfo: no figures.
    TestTree plain;
    plain.text("proc/meminfo", "MemFree: 1000 kB\n");
    EXPECT_EQ(readVmFigures(plain.root())->compressed, 0u);
    EXPECT_EQ(zramMemoryUsed(plain.path("sys/block")), 0u);
    EXPECT_FALSE(readVmFigures(plain.path("missing")));
}
#endif
