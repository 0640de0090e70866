#ifdef __linux__
#include "platform/linux/ProcMeminfo.h"

#include <gtest/gtest.h>

using tidvale::platform::parseMeminfo;

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
#endif
