#include "engine/format/ByteText.h"
#include "engine/format/DateText.h"

#include <gtest/gtest.h>

#include <climits>

using namespace tidvale;

struct ByteCase {
    int64_t bytes;
    const char* file;
    const char* junk;
};

class ByteTextTest : public ::testing::TestWithParam<ByteCase> { };

TEST_P(ByteTextTest, FileAndJunkForms)
{
    EXPECT_EQ(formatFileBytes(GetParam().bytes), GetParam().file);
    EXPECT_EQ(formatJunkBytes(GetParam().bytes), GetParam().junk);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ByteTextTest,
    ::testing::Values(ByteCase{0, "Cero KB", "Cero KB"}, ByteCase{1, "1 byte", "1 KB"},
        ByteCase{999, "999 bytes", "1 KB"}, ByteCase{1000, "1 KB", "1 KB"},
        ByteCase{1499, "1 KB", "1 KB"}, ByteCase{1500, "2 KB", "2 KB"},
        ByteCase{524288, "524 KB", "524 KB"},
        // never "1000 KB": rounding up moves to the next unit
        ByteCase{999499, "999 KB", "999 KB"}, ByteCase{999500, "1 MB", "1 MB"},
        ByteCase{1250000, "1,3 MB", "1,3 MB"}, ByteCase{12000000, "12 MB", "12 MB"},
        ByteCase{1500000000, "1,5 GB", "1,5 GB"}, ByteCase{1234567890, "1,23 GB", "1,23 GB"},
        ByteCase{2000000000000, "2 TB", "2000 GB"}, ByteCase{25000000000000, "25 TB", "25.000 GB"},
        ByteCase{-1500000, "-1,5 MB", "-1,5 MB"}),
    [](const auto& info) {
        const int64_t b = info.param.bytes;
        return (b < 0 ? "minus" + std::to_string(-b) : std::to_string(b)) + "_bytes";
    });

TEST(ByteText, MemoryFormUsesPowersOf1024)
{
    EXPECT_EQ(formatMemoryBytes(0), "Cero KB");
    EXPECT_EQ(formatMemoryBytes(512), "512 bytes");
    EXPECT_EQ(formatMemoryBytes(1024), "1 KB");
    EXPECT_EQ(formatMemoryBytes(8ULL << 30), "8 GB");
    EXPECT_EQ(formatMemoryBytes(1536ULL << 20), "1,5 GB");
    EXPECT_EQ(formatMemoryBytes(1000ULL << 10), "1 MB"); // never "1000 KB"
    EXPECT_EQ(formatMemoryBytes(999ULL << 10), "999 KB");
}

TEST(ByteText, ExtremesDoNotOverflow)
{
    EXPECT_EQ(formatFileBytes(INT64_MAX), "9,22 EB");
    EXPECT_EQ(formatFileBytes(INT64_MIN), "-9,22 EB");
}

TEST(DateText, ShortSpanishStyleAndIso)
{
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(formatShortDate(1796515200), "6/12/26"); // 2026-12-06
    EXPECT_EQ(formatShortDate(946684800), "1/1/00");
    EXPECT_EQ(formatIsoDate(1796515200), "2026-12-06T00:00:00Z");
}
