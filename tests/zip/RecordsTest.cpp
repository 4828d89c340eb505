#include <gtest/gtest.h>

#include <array>

#include "tests/support/ZipWriter.h"
#include "zip/ArchiveError.h"
#include "zip/ArchiveStorage.h"
#include "zip/DosTime.h"
#include "zip/NameCodec.h"
#include "zip/Records.h"

namespace vz {
namespace {

struct CauseCase {
  int code;
  int cause;
};

class CauseTable : public ::testing::TestWithParam<CauseCase> {};

TEST_P(CauseTable, MapsCodeToCause) {
  EXPECT_EQ(CArchiveError::CauseFromCode(GetParam().code), GetParam().cause);
  EXPECT_EQ(CArchiveError(GetParam().code).Cause(), GetParam().cause);
}

INSTANTIATE_TEST_SUITE_P(AllCodes, CauseTable,
                         ::testing::Values(CauseCase{1, 2}, CauseCase{2, 3}, CauseCase{-1, 4}, CauseCase{-2, 5},
                                           CauseCase{-3, 6}, CauseCase{-4, 7}, CauseCase{-5, 8},
                                           CauseCase{-6, 9}, CauseCase{-101, 10}, CauseCase{-102, 11},
                                           CauseCase{-103, 12}, CauseCase{-104, 13}, CauseCase{-105, 14},
                                           CauseCase{-106, 15}, CauseCase{-107, 16}, CauseCase{-7, 1},
                                           CauseCase{3, 1}, CauseCase{0, 1}, CauseCase{kFileError, 1}));

TEST(DosTime, ConvertsFieldsAsLocalTime) {
  auto tm = DosToCalendar(test::DosDate(2026, 12, 7), test::DosTime(20, 5, 9));
  ASSERT_TRUE(tm);
  EXPECT_EQ(tm->tm_year, 126);
  EXPECT_EQ(tm->tm_mon, 11);
  EXPECT_EQ(tm->tm_mday, 7);
  EXPECT_EQ(tm->tm_hour, 20);
  EXPECT_EQ(tm->tm_min, 5);
  EXPECT_EQ(tm->tm_sec, 8);  // DOS keeps seconds in steps of two
  std::tm copy = *tm;
  EXPECT_EQ(DosToLocalTime(test::DosDate(2026, 12, 7), test::DosTime(20, 5, 9)), std::mktime(&copy));
}

TEST(DosTime, RejectsDatesThatAreNoCalendarDates) {
  for (std::uint16_t date : {std::uint16_t((46 << 9) | (0 << 5) | 1), std::uint16_t((46 << 9) | (13 << 5) | 1),
                             std::uint16_t((46 << 9) | (1 << 5) | 0)}) {
    EXPECT_FALSE(TryDosToLocalTime(date, 0)) << date;
    try {
      DosToLocalTime(date, 0);
      ADD_FAILURE() << "no error for " << date;
    } catch (const CArchiveError& e) {
      EXPECT_EQ(e.Code(), kInvalidArgument);
    }
  }
  EXPECT_FALSE(TryDosToLocalTime(test::DosDate(2020, 1, 1), test::DosTime(24, 0, 0)));
}

TEST(LocalPatches, BlankHighBytesCountAsAbsent) {
  EXPECT_EQ(PatchLocalMethod(0x2008), 8);
  EXPECT_EQ(PatchLocalMethod(0x0008), 8);
  EXPECT_EQ(PatchLocalMethod(0x0C08), 0x0C08);
  EXPECT_EQ(PatchLocalExtraLength(0x2020), 0);
  EXPECT_EQ(PatchLocalExtraLength(0x2010), 0x10);
  EXPECT_EQ(PatchLocalExtraLength(0x0120), 0x0120);
}

TEST(NameCodec, KeepsUtf8AndReadsOtherBytesAsCodePage437) {
  EXPECT_EQ(DecodeEntryName("plain/name.txt"), "plain/name.txt");
  EXPECT_EQ(DecodeEntryName("gr\xC3\xBC\xC3\x9F" "e.txt"), "gr\xC3\xBC\xC3\x9F" "e.txt");
  EXPECT_EQ(DecodeEntryName("\x81" "ber.txt"), "\xC3\xBC" "ber.txt");  // 0x81 is u-umlaut in 437
  EXPECT_EQ(DecodeEntryName("\xE1\xFF"), "\xC3\x9F\xC2\xA0");
  EXPECT_EQ(DecodeEntryName("\xC0\xAF"), "\xE2\x94\x94\xC2\xBB");  // an overlong slash is not UTF-8
}

TEST(Zip64Extra, TakesOnlyTheFieldsThatOverflowed) {
  std::string extra;
  test::PutLe16(extra, 0x7075);  // another field first
  test::PutLe16(extra, 2);
  extra += "ab";
  test::PutLe16(extra, 0x0001);
  test::PutLe16(extra, 16);
  test::PutLe64(extra, 5000000000ull);
  test::PutLe64(extra, 4000000000ull);
  auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(extra.data()), extra.size());
  auto both = ParseZip64Extra(bytes, true, true, false);
  ASSERT_TRUE(both);
  EXPECT_EQ(both->uncompressedSize, 5000000000ull);
  EXPECT_EQ(both->compressedSize, 4000000000ull);
  auto offsetOnly = ParseZip64Extra(bytes, false, false, true);
  ASSERT_TRUE(offsetOnly);
  EXPECT_EQ(offsetOnly->localHeaderOffset, 5000000000ull);
  EXPECT_FALSE(ParseZip64Extra(bytes.first(6), true, true, false));
}

TEST(Descriptor, SignatureIsOptionalOnlyAfterTheData) {
  std::string d = "PK\x07\x08";
  test::PutLe32(d, 0xDEADBEEF);
  test::PutLe32(d, 10);
  test::PutLe32(d, 20);
  auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(d.data()), d.size());
  auto signedOne = ParseSignedDescriptor(bytes, false);
  ASSERT_TRUE(signedOne);
  EXPECT_EQ(signedOne->crc32, 0xDEADBEEFu);
  EXPECT_EQ(signedOne->compressedSize, 10u);
  EXPECT_EQ(signedOne->uncompressedSize, 20u);
  EXPECT_FALSE(ParseSignedDescriptor(bytes.subspan(4), false));
  auto bare = ParseTrailingDescriptor(bytes.subspan(4), false);
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->uncompressedSize, 20u);
}

TEST(ArchiveStorage, TolerantReadReturnsWhatIsThere) {
  test::TempDir dir;
  test::WriteFile(dir / "f.bin", std::string(140, 'x'));
  CScanContext context;
  CArchiveStorage storage(context);
  storage.Open(dir / "f.bin", 0, 1);
  ASSERT_TRUE(storage.IsFileOpen());
  EXPECT_EQ(storage.SpanQuery(), -1);
  std::array<std::uint8_t, 100> buffer{};
  EXPECT_EQ(storage.ReadAt(100, buffer, false), 40u);
  EXPECT_TRUE(context.ArchiveEndedEarly);
  context.ArchiveEndedEarly = false;
  EXPECT_EQ(storage.ReadAt(140, buffer, false), 0u);
  EXPECT_FALSE(context.ArchiveEndedEarly);
  try {
    storage.ReadAt(100, buffer, true);
    ADD_FAILURE() << "a short all-at-once read must fail";
  } catch (const CArchiveError& e) {
    EXPECT_EQ(e.Cause(), kCauseBadArchive);
    EXPECT_EQ(e.FileName(), (dir / "f.bin").string());
  }
}

TEST(ArchiveStorage, OpensNothingButRegularFiles) {
  test::TempDir dir;
  CScanContext context;
  CArchiveStorage storage(context);
  storage.Open(dir / "missing.zip", 0, 1);
  EXPECT_FALSE(storage.IsFileOpen());
  EXPECT_EQ(storage.OpenError(), ENOENT);
  storage.Open(dir.Path(), 0, 1);
  EXPECT_EQ(storage.OpenError(), EISDIR);
  storage.Open("/dev/zero", 0, 1);
  EXPECT_EQ(storage.OpenError(), EINVAL);
}

}  // namespace
}  // namespace vz
