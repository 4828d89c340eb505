#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

#include "EngineTestUtil.h"
#include "zip/Records.h"

namespace vz {
namespace {

using test::EntryRecipe;
using test::ZipWriter;
using test::Noise;
using test::StopAfter;
using test::Text;


// Three entries, behind some bytes of no record when a prefix is given.
ZipWriter ThreeEntries(std::string_view prefix = {}) {
  ZipWriter w;
  if (!prefix.empty()) w.Raw(prefix);
  w.Add("alpha.txt", Text(1, 3000)).Add("dir/beta.bin", Text(2, 500), 0).Add("gamma.txt", Text(3, 7000));
  return w;
}

class ScanTest : public ::testing::Test {
 protected:
  std::vector<CEntryHeader> List(const ZipWriter& w, int mode, CScanContext* ctx = nullptr) {
    w.Save(dir_ / "a.zip");
    return test::ListEntries(dir_ / "a.zip", mode, ctx);
  }
  std::vector<CEntryHeader> List(const std::string& bytes, int mode, CScanContext* ctx = nullptr) {
    test::WriteFile(dir_ / "a.zip", bytes);
    return test::ListEntries(dir_ / "a.zip", mode, ctx);
  }
  test::TempDir dir_;
};

// Damage applied to an intact three-entry archive; the names both scans must list.
struct DamageCase {
  const char* label;
  std::string (*damage)(const ZipWriter&);
  std::vector<std::string> quick;
  std::vector<std::string> advance;
};

std::string Intact(const ZipWriter& w) { return w.Bytes(); }
std::string CentralCut(const ZipWriter& w) { return w.Bytes().substr(0, w.CentralOffset() + 30); }
std::string NoCentral(const ZipWriter& w) { return w.Bytes().substr(0, w.CentralOffset()); }
std::string CentralZeroed(const ZipWriter& w) {
  std::string b = w.Bytes();
  std::fill(b.begin() + static_cast<long>(w.CentralOffset()), b.end(), '\0');
  return b;
}
std::string CentralOffsetsGarbled(const ZipWriter& w) {
  // Offsets that point past the end or into the middle of data.
  std::string b = w.Bytes();
  std::size_t pos = w.CentralOffset();
  std::uint32_t garbage[] = {0x7FFFFFF0u, 0xFFFFFFF0u, 0x00100000u};
  for (int i = 0; i < 3; ++i) {
    std::memcpy(&b[pos + 42], &garbage[i], 4);
    std::uint16_t n;
    std::memcpy(&n, &b[pos + 28], 2);
    pos += 46 + n;
  }
  return b;
}
std::string SecondSignatureDestroyed(const ZipWriter& w) {
  std::string b = w.Bytes();
  b[w.Entries()[1].localOffset] = 'X';
  return b;
}
std::string PrefixJunk(const ZipWriter&) {
  ZipWriter w = ThreeEntries("MZ\x90\x00 a self-extracting stub " + std::string(300, '\x01'));
  w.Finish();
  return w.Bytes();
}
std::string TruncatedInThirdData(const ZipWriter& w) {
  return w.Bytes().substr(0, w.Entries()[2].dataOffset + 100);
}
std::string TruncatedInThirdHeader(const ZipWriter& w) {
  return w.Bytes().substr(0, w.Entries()[2].localOffset + 20);
}

const std::vector<std::string> kAll = {"alpha.txt", "dir\\beta.bin", "gamma.txt"};

class DamagedArchive : public ::testing::TestWithParam<DamageCase> {
 protected:
  test::TempDir dir_;
};

TEST_P(DamagedArchive, BothScansListWhatTheHeadersStillHold) {
  ZipWriter w = ThreeEntries();
  w.Finish();
  test::WriteFile(dir_ / "a.zip", GetParam().damage(w));
  EXPECT_EQ(test::Names(test::ListEntries(dir_ / "a.zip", kQuickRepair)), GetParam().quick);
  EXPECT_EQ(test::Names(test::ListEntries(dir_ / "a.zip", kAdvanceRepair)), GetParam().advance);
}

INSTANTIATE_TEST_SUITE_P(
    Scans, DamagedArchive,
    ::testing::Values(
        DamageCase{"intact", Intact, kAll, kAll},
        DamageCase{"central_cut", CentralCut, kAll, kAll},
        DamageCase{"no_central", NoCentral, kAll, kAll},
        DamageCase{"central_zeroed", CentralZeroed, kAll, kAll},
        DamageCase{"central_offsets_garbled", CentralOffsetsGarbled, kAll, kAll},
        DamageCase{"second_signature_destroyed", SecondSignatureDestroyed, {"alpha.txt", "gamma.txt"},
                   {"alpha.txt", "gamma.txt", "dir\\beta.bin"}},
        DamageCase{"prefix_junk", PrefixJunk, kAll, kAll},
        DamageCase{"truncated_in_third_data", TruncatedInThirdData, kAll, kAll},
        DamageCase{"truncated_in_third_header", TruncatedInThirdHeader, {"alpha.txt", "dir\\beta.bin"},
                   {"alpha.txt", "dir\\beta.bin"}}),
    [](const auto& info) { return std::string(info.param.label); });


TEST_F(ScanTest, EntriesCarryTheirLocalHeaderFields) {
  ZipWriter w = ThreeEntries();
  w.Finish();
  auto entries = List(w, kQuickRepair);
  ASSERT_EQ(entries.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& written = w.Entries()[i];
    EXPECT_EQ(entries[i].crc32, written.crc);
    EXPECT_EQ(entries[i].compressedSize, written.compressedSize);
    EXPECT_EQ(entries[i].uncompressedSize, written.uncompressedSize);
    EXPECT_EQ(entries[i].localHeaderOffset, written.localOffset);
    EXPECT_EQ(entries[i].method, written.recipe.method);
    EXPECT_EQ(entries[i].externalAttributes, 32u);
    EXPECT_EQ(entries[i].modDate, written.recipe.date);
  }
}

TEST_F(ScanTest, QuickTakesADamagedNameBackFromTheCentralDirectory) {
  ZipWriter w;
  EntryRecipe garbled;
  garbled.name = "report.txt";
  garbled.localName = "r\x01p\x02rt.txt";  // same length, damaged bytes
  garbled.data = Text(4, 900);
  w.Add("first.txt", Text(5, 400)).Add(garbled).Add("last.txt", Text(6, 100)).Finish();
  EXPECT_EQ(test::Names(List(w, kQuickRepair)), (std::vector<std::string>{"first.txt", "report.txt", "last.txt"}));
  // Advance reads no names from the central directory.
  EXPECT_EQ(List(w, kAdvanceRepair)[1].name, "r\x01p\x02rt.txt");
}

TEST_F(ScanTest, QuickPairsByOrderSoAnExtraHeaderStopsTheCorrections) {
  ZipWriter w;
  EntryRecipe stray;
  stray.name = "stray.txt";
  stray.data = "not listed centrally";
  stray.inCentral = false;
  EntryRecipe garbled;
  garbled.name = "second.txt";
  garbled.localName = "sec\x01nd.txt";
  garbled.data = Text(7, 300);
  w.Add(stray).Add("first.txt", Text(8, 200)).Add(garbled).Finish();
  auto names = test::Names(List(w, kQuickRepair));
  EXPECT_EQ(names, (std::vector<std::string>{"stray.txt", "first.txt", "sec\x01nd.txt"}));
}

TEST_F(ScanTest, NameLengthLimitIsFiveHundredBytes) {
  ZipWriter w;
  std::string name500(496, 'n');
  name500 += ".txt";
  std::string name501 = "x" + name500;
  EntryRecipe garbled;
  garbled.name = "after.txt";
  garbled.localName = "aft\x01r.txt";
  garbled.data = "after";
  w.Add(name500, "five hundred").Add(name501, "five hundred and one").Add(garbled).Finish();
  auto entries = List(w, kQuickRepair);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, name500);
  EXPECT_EQ(entries[1].name, "");
  EXPECT_EQ(entries[1].nameLength, 501);
  // The 501-byte header took no part in the pairing: its central record was
  // dropped, so the third header met the third record and was corrected.
  EXPECT_EQ(entries[2].name, "after.txt");
  EXPECT_EQ(List(w, kAdvanceRepair)[1].name, "");
}

TEST_F(ScanTest, LyingCompressedSizeJumpsOverHeadersThatOnlyAdvanceGetsBack) {
  ZipWriter w;
  EntryRecipe liar;
  liar.name = "liar.txt";
  liar.data = Text(9, 500);
  w.Add(liar).Add("hidden1.txt", Text(10, 800)).Add("hidden2.txt", Text(11, 800)).Add("big.txt", Text(12, 20000));
  w.Finish();
  // The first header claims data reaching exactly to the fourth header.
  std::uint32_t lie = static_cast<std::uint32_t>(w.Entries()[3].localOffset - w.Entries()[0].dataOffset);
  std::memcpy(&w.MutableBytes()[w.Entries()[0].localOffset + 18], &lie, 4);
  auto quick = test::Names(List(w, kQuickRepair));
  EXPECT_EQ(quick, (std::vector<std::string>{"liar.txt", "big.txt"}));
  auto advance = test::Names(List(w, kAdvanceRepair));
  EXPECT_EQ(advance, (std::vector<std::string>{"liar.txt", "big.txt", "hidden1.txt", "hidden2.txt"}));
}

TEST_F(ScanTest, AnOffsetNamedTwiceByTheCentralDirectoryGivesOneEntry) {
  ZipWriter w;
  EntryRecipe twin;
  twin.name = "one.txt";
  twin.data = "x";
  twin.inCentral = false;
  w.Add("one.txt", "payload").Add("two.txt", "payload two");
  w.Finish();
  // Point the second central record at the first local header too.
  std::string b = w.Bytes();
  std::size_t second = w.CentralOffset() + 46 + 7;
  std::memset(&b[second + 42], 0, 4);
  b[w.Entries()[1].localOffset] = 'X';
  auto advance = List(b, kAdvanceRepair);
  EXPECT_EQ(test::Names(advance), (std::vector<std::string>{"one.txt"}));
}

TEST_F(ScanTest, DescriptorsBelongToTheEntryTheyFollow) {
  for (bool signature : {true, false}) {
    ZipWriter w;
    for (int i = 0; i < 3; ++i) {
      EntryRecipe s;
      s.name = "streamed" + std::to_string(i) + ".txt";
      s.data = Text(20 + i, 1000 + 700 * static_cast<std::size_t>(i));
      s.streamed = true;
      s.descriptorSignature = signature;
      w.Add(s);
    }
    w.Finish();
    for (int mode : {kQuickRepair, kAdvanceRepair}) {
      CScanContext context;
      auto entries = List(w, mode, &context);
      ASSERT_EQ(entries.size(), 3u);
      for (std::size_t i = 0; i < 3; ++i) {
        const auto& written = w.Entries()[i];
        EXPECT_EQ(entries[i].name, written.recipe.name);
        if (signature) {
          EXPECT_EQ(entries[i].crc32, written.crc) << i;
          EXPECT_EQ(entries[i].compressedSize, written.compressedSize) << i;
          EXPECT_EQ(entries[i].uncompressedSize, written.uncompressedSize) << i;
        } else {
          // No signature: nothing marks the descriptor, the sizes stay unknown.
          EXPECT_TRUE(entries[i].SizeUnknown()) << i;
        }
      }
      EXPECT_EQ(context.DescriptorSeen, signature);
    }
  }
}

TEST_F(ScanTest, AStraySignatureInsideDataIsNoDescriptor) {
  ZipWriter w;
  EntryRecipe s;
  s.name = "inner.bin";
  s.method = 0;
  s.streamed = true;
  std::string fake = "PK\x07\x08";
  test::PutLe32(fake, 0x11111111);
  test::PutLe32(fake, 3);  // not the distance from the data start
  test::PutLe32(fake, 3);
  s.data = "head" + fake + "tail";
  w.Add(s).Add("next.txt", "next").Finish();
  auto entries = List(w, kQuickRepair);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].compressedSize, s.data.size());
  EXPECT_EQ(entries[0].crc32, test::Crc32(s.data));
}

TEST_F(ScanTest, Zip64SizesComeFromTheExtraField) {
  ZipWriter w;
  EntryRecipe big;
  big.name = "z64.txt";
  big.data = Text(30, 5000);
  big.zip64 = true;
  w.Add(big).Add("after.txt", "after").Finish();
  for (int mode : {kQuickRepair, kAdvanceRepair}) {
    auto entries = List(w, mode);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].zip64);
    EXPECT_EQ(entries[0].compressedSize, w.Entries()[0].compressedSize);
    EXPECT_EQ(entries[0].uncompressedSize, 5000u);
    EXPECT_EQ(entries[1].name, "after.txt");
  }
}

TEST_F(ScanTest, AZip64SizeNearTwoToTheSixtyFourStillMovesTheScanForward) {
  ZipWriter w;
  EntryRecipe big;
  big.name = "huge.bin";
  big.data = "tiny";
  big.method = 0;
  big.zip64 = true;
  w.Add(big).Add("after.txt", "after").Finish();
  // The extra field's compressed size: the second eight bytes after its header.
  std::uint64_t lie = ~std::uint64_t{0} - 7;
  std::memcpy(&w.MutableBytes()[w.Entries()[0].localOffset + 30 + 8 + 4 + 8], &lie, 8);
  for (int mode : {kQuickRepair, kAdvanceRepair}) {
    auto entries = List(w, mode);
    ASSERT_GE(entries.size(), 1u);
    EXPECT_EQ(entries[0].compressedSize, lie);
  }
}

TEST_F(ScanTest, MoreThan65536EntriesAreAllListed) {
  ZipWriter w;
  constexpr int kCount = 70000;
  for (int i = 0; i < kCount; ++i) w.Add("f" + std::to_string(i), "", 0);
  w.Finish();
  auto entries = List(w, kQuickRepair);
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(entries.back().name, "f69999");
  EXPECT_EQ(List(w, kAdvanceRepair).size(), static_cast<std::size_t>(kCount));
}

TEST_F(ScanTest, GetEntryInfoHandsOutBackslashesAndRefusesIndicesPastTheEnd) {
  ZipWriter w;
  w.Add("a/b/c.txt", "abc").Finish();
  w.Save(dir_ / "a.zip");
  CScanContext context;
  CRepairArchive archive(context);
  archive.OpenArchive(dir_ / "a.zip");
  EXPECT_EQ(context.EntriesFound, 1u);
  CEntryHeader info;
  ASSERT_TRUE(archive.GetEntryInfo(info, 0));
  EXPECT_EQ(info.name, "a\\b\\c.txt");
  info.name = "untouched";
  EXPECT_FALSE(archive.GetEntryInfo(info, 1));
  EXPECT_EQ(info.name, "untouched");
}

TEST_F(ScanTest, ReopeningListsOnlyTheSecondArchive) {
  ZipWriter one, two;
  one.Add("one.txt", "1").Add("uno.txt", "1").Finish();
  two.Add("two.txt", "2").Finish();
  one.Save(dir_ / "1.zip");
  two.Save(dir_ / "2.zip");
  CScanContext context;
  CRepairArchive archive(context);
  archive.OpenArchive(dir_ / "1.zip");
  archive.CloseArchive();
  archive.OpenArchive(dir_ / "2.zip");
  CEntryHeader info;
  ASSERT_EQ(archive.EntryCount(), 1u);
  archive.GetEntryInfo(info, 0);
  EXPECT_EQ(info.name, "two.txt");
}

TEST_F(ScanTest, AFileThatCannotBeOpenedHasNoEntries) {
  CScanContext context;
  context.EntriesFound = 7;
  CRepairArchive archive(context);
  archive.OpenArchive(dir_ / "missing.zip");
  EXPECT_FALSE(archive.IsOpen());
  EXPECT_EQ(archive.OpenError(), ENOENT);
  EXPECT_EQ(archive.EntryCount(), 0u);
  EXPECT_EQ(context.EntriesFound, 7u);  // untouched, as the owner left it
}

// Progress: every pass reports at its first step and then every 100 bytes.
TEST_F(ScanTest, ProgressReportsEveryHundredBytesOfEachPass) {
  std::string junk(1000, '\0');
  test::RecordingProgress quick;
  CScanContext context;
  context.Progress = &quick;
  List(junk, kQuickRepair, &context);
  // Local pass 0..900, central pass 0..900 (positions up to 950), second local pass 0..900.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> expected;
  for (int pass = 0; pass < 3; ++pass)
    for (std::uint64_t p = 0; p < 1000; p += 100) expected.emplace_back(p, 1000);
  EXPECT_EQ(quick.reports, expected);

  test::RecordingProgress advance;
  context.Progress = &advance;
  List(junk, kAdvanceRepair, &context);
  expected.resize(20);
  EXPECT_EQ(advance.reports, expected);
}

TEST_F(ScanTest, ProgressReportsTheLandingPointOfASkip) {
  ZipWriter w;
  w.Raw(std::string(50, 'j'));
  w.Add("e.bin", std::string(1000, 'x'), 0);  // header at 50, skip lands at 50 + 30 + 5 + 1000
  std::string b = w.Bytes() + std::string(200, 'z');
  test::RecordingProgress progress;
  CScanContext context;
  context.Progress = &progress;
  List(b, kAdvanceRepair, &context);
  ASSERT_GE(progress.reports.size(), 3u);
  EXPECT_EQ(progress.reports[0].first, 0u);
  EXPECT_EQ(progress.reports[1].first, 1085u);  // the header at 50 is short of the mark at 100
  EXPECT_EQ(progress.reports[2].first, 1185u);
}

// A literal scan, one position at a time, as the design describes it. The
// fast scan must give the same entry offsets and the same progress reports.
struct ReferenceScan {
  std::vector<std::uint64_t> offsets;
  std::vector<std::uint64_t> reports;
};

ReferenceScan LiteralScan(const std::string& b, int mode) {
  ReferenceScan out;
  const std::uint64_t L = b.size();
  auto sigAt = [&](std::uint64_t p, char c2, char c3) {
    return p + 4 <= L && b[p] == 'P' && b[p + 1] == 'K' && b[p + 2] == c2 && b[p + 3] == c3;
  };
  auto le16 = [&](std::uint64_t p) { return std::uint16_t(std::uint8_t(b[p]) | (std::uint8_t(b[p + 1]) << 8)); };
  auto le32 = [&](std::uint64_t p) { return std::uint32_t(le16(p)) | (std::uint32_t(le16(p + 2)) << 16); };
  auto localPass = [&](std::vector<std::uint64_t>& found) {
    std::uint64_t p = 0, mark = 0, end = 0;
    while (p < L) {
      if (p >= mark) { mark = p + 100; out.reports.push_back(p); }
      if (sigAt(p, 3, 4) && p + 30 <= L) {
        found.push_back(p);
        std::uint16_t n = le16(p + 26);
        p = p + 30 + (n > 500 ? 0 : n) + le32(p + 18);
        end = p;
      } else {
        ++p;
      }
    }
    return end;
  };
  auto centralPass = [&](std::uint64_t p, std::vector<std::uint64_t>& targets) {
    std::uint64_t mark = 0;
    while (p + 50 <= L) {
      if (p >= mark) { mark = p + 100; out.reports.push_back(p); }
      if (sigAt(p, 1, 2)) {
        std::uint16_t n = le16(p + 28);
        if (mode == kAdvanceRepair || n <= 500) targets.push_back(le32(p + 42));
        p = p + 46 + (mode == kQuickRepair && n > 500 ? 0 : n);
      } else {
        ++p;
      }
    }
  };
  std::vector<std::uint64_t> locals, centrals;
  std::uint64_t end = localPass(locals);
  centralPass(end, centrals);
  if (mode == kQuickRepair) {
    std::vector<std::uint64_t> again;
    localPass(again);
    out.offsets = again;
  } else {
    out.offsets = locals;
    for (std::uint64_t c : centrals) {
      if (std::find(out.offsets.begin(), out.offsets.end(), c) == out.offsets.end() && c + 30 <= L) {
        out.offsets.push_back(c);
      }
    }
  }
  return out;
}

TEST_F(ScanTest, FastScanMatchesTheLiteralScanOnRandomDamage) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 60; ++round) {
    ZipWriter w;
    int entries = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < entries; ++i) {
      EntryRecipe s;
      s.name = "e" + std::to_string(i) + (rng() % 4 == 0 ? std::string(510, 'L') : "");
      s.data = Text(static_cast<int>(rng()), rng() % 3000);
      s.method = rng() % 2 ? 8 : 0;
      if (rng() % 5 == 0) s.localCompressedSize = static_cast<std::uint32_t>(rng() % 4000);
      if (rng() % 6 == 0) s.data += "PK\x03\x04 inner PK\x01\x02 bytes";
      w.Add(s);
      if (rng() % 4 == 0) w.Raw(std::string(rng() % 300, 'P'));
    }
    w.Finish();
    std::string b = w.Bytes();
    for (int hits = static_cast<int>(rng() % 4); hits > 0 && !b.empty(); --hits) {
      b[rng() % b.size()] = static_cast<char>(rng());
    }
    if (rng() % 3 == 0) b.resize(rng() % (b.size() + 1));
    for (int mode : {kQuickRepair, kAdvanceRepair}) {
      test::RecordingProgress progress;
      CScanContext context;
      context.Progress = &progress;
      auto entries = List(b, mode, &context);
      ReferenceScan ref = LiteralScan(b, mode);
      std::vector<std::uint64_t> offsets;
      for (const auto& e : entries) offsets.push_back(e.localHeaderOffset);
      EXPECT_EQ(offsets, ref.offsets) << "round " << round << " mode " << mode;
      std::vector<std::uint64_t> reported;
      for (auto& r : progress.reports) reported.push_back(r.first);
      EXPECT_EQ(reported, ref.reports) << "round " << round << " mode " << mode;
    }
  }
}


TEST_F(ScanTest, AStopEndsTheScanAndTheObjectServesTheNextArchive) {
  ZipWriter w = ThreeEntries();
  w.Finish();
  w.Save(dir_ / "a.zip");
  StopAfter gate(5);
  CScanContext context;
  context.Gate = &gate;
  CRepairArchive archive(context);
  try {
    archive.OpenArchive(dir_ / "a.zip");
    ADD_FAILURE() << "the stop was not honoured";
  } catch (const CArchiveError& e) {
    EXPECT_EQ(e.Code(), kStopped);
  }
  archive.CloseArchive();
  context.Gate = nullptr;
  archive.OpenArchive(dir_ / "a.zip");
  EXPECT_EQ(archive.EntryCount(), 3u);
}

}  // namespace
}  // namespace vz
