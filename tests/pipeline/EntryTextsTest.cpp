#include <gtest/gtest.h>

#include "pipeline/EntryTexts.h"
#include "zip/DosTime.h"

namespace vz::pipeline {
namespace {

struct SizeCase {
  std::uint64_t size;
  const char* text;
};

class SizeTexts : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTexts, TruncateWithThreeBlanks) { EXPECT_EQ(SizeText(GetParam().size), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Units, SizeTexts,
                         ::testing::Values(SizeCase{0, "0   Bytes"}, SizeCase{512, "512   Bytes"},
                                           SizeCase{1023, "1023   Bytes"}, SizeCase{1024, "1   KB"},
                                           SizeCase{1048575, "1023   KB"}, SizeCase{1048576, "1   MB"},
                                           SizeCase{4 * 1048576 + 5, "4   MB"}, SizeCase{1073741824, "1   GB"},
                                           SizeCase{5ull << 40, "5120   GB"}));

TEST(EntryTexts, RatioTimeAndCrc) {
  EXPECT_EQ(RatioText(0, 0), "0%");
  EXPECT_EQ(RatioText(50, 200), "25%");
  EXPECT_EQ(RatioText(60'000'000, 100'000'000), "60%");
  EXPECT_EQ(RatioText(112, 100), "112%");
  EXPECT_EQ(RatioText(0xFFFFFFFFull, 1), "429496729500%");
  EXPECT_EQ(CrcText(0xFFFFFFFFu), "4294967295");
  EXPECT_EQ(TimeText(DosToLocalTime(((2026 - 1980) << 9) | (12 << 5) | 7, (20 << 11) | (5 << 5) | 4)),
            "07 Dec 2026, 20:05:08");
  EXPECT_EQ(TimeText(std::nullopt), "");
}

}  // namespace
}  // namespace vz::pipeline
