// What goes wrong while saving is told per entry and per archive; the pass
// goes on with the rest and keeps every byte it already wrote.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include "pipeline/JobControl.h"
#include "pipeline/SavingPass.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

namespace fs = std::filesystem;

struct Collect : ISavingReporter {
  void SetCurrentBar(int) override {}
  void SetOverallBar(int) override {}
  void SetFileName(const std::string&) override {}
  void SetFileNumber(const std::string&) override {}
  void SetFileTotal(const std::string&) override {}
  void SetDestination(const std::string& folder) override { folders.push_back(folder); }
  void ArchiveSkipped(const std::string& path, const std::string& reason) override { skipped.push_back(path + ": " + reason); }
  void EntrySaved(const EntrySaveReport& r) override {
    reports.push_back(r);
    if (afterEntry) afterEntry(r);
  }
  void Finished() override { finished = true; }
  std::vector<std::string> folders, skipped;
  std::vector<EntrySaveReport> reports;
  std::function<void(const EntrySaveReport&)> afterEntry;
  bool finished = false;
};

class SavingFaults : public ::testing::Test {
 protected:
  void Save(const std::vector<std::string>& sources, const fs::path& destination) {
    CScanContext context;
    CRepairArchive archive(context);
    app::CNullLog log;
    CJobControl control;
    int stall = 0;
    SavingRequest request;
    request.sourceFiles = sources;
    request.destination = destination;
    CSavingPass(archive, context, log, collect_, control, stall).Run(request);
  }
  std::string Noise(std::size_t n) {
    std::string s(n, '\0');
    unsigned x = 12345;
    for (char& c : s) c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
    return s;
  }
  test::TempDir dir_;
  Collect collect_;
};

TEST_F(SavingFaults, AFullDiskMakesThatEntryPartialAndTheRunGoesOn) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  fs::create_directories(dir_ / "small");
  if (::mount("tmpfs", (dir_ / "small").c_str(), "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "cannot mount tmpfs here";
  test::ZipWriter w;
  w.Add("first.txt", "first", 0).Add("big.bin", Noise(3 << 20), 0).Add("last.txt", "", 0).Finish();
  w.Save(dir_ / "a.zip");
  Save({(dir_ / "a.zip").string()}, dir_ / "small");
  ::umount2((dir_ / "small").c_str(), MNT_DETACH);
  ASSERT_EQ(collect_.reports.size(), 3u);
  EXPECT_EQ(collect_.reports[0].verdict, EntryVerdict::Verified);
  EXPECT_EQ(collect_.reports[1].verdict, EntryVerdict::Partial);
  ASSERT_TRUE(collect_.reports[1].error);
  EXPECT_EQ(collect_.reports[1].error->SystemError(), ENOSPC);
  EXPECT_GT(collect_.reports[1].bytesWritten, 0u);
  EXPECT_TRUE(collect_.finished);
}

TEST_F(SavingFaults, AnEntryOfUnknownSizeNeverTakesTheLastPercentOfTheDisk) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  fs::create_directories(dir_ / "small");
  if (::mount("tmpfs", (dir_ / "small").c_str(), "tmpfs", 0, "size=16m") != 0) GTEST_SKIP() << "cannot mount tmpfs here";
  test::ZipWriter w;
  test::EntryRecipe flood;
  flood.name = "flood.bin";
  flood.data = std::string(64 << 20, '\0');
  flood.streamed = true;
  flood.descriptor = false;  // nothing tells its size
  w.Add(flood).Add("after.txt", "after", 0).Finish();
  w.Save(dir_ / "a.zip");
  Save({(dir_ / "a.zip").string()}, dir_ / "small");
  std::uint64_t total = 16 << 20;
  ASSERT_EQ(collect_.reports.size(), 2u);
  EXPECT_EQ(collect_.reports[0].verdict, EntryVerdict::Partial);
  ASSERT_TRUE(collect_.reports[0].error);
  EXPECT_EQ(collect_.reports[0].error->Code(), kOutputLimit);
  EXPECT_GT(collect_.reports[0].bytesWritten, total / 2);
  EXPECT_EQ(collect_.reports[1].verdict, EntryVerdict::Verified);  // the rest still fits
  ::umount2((dir_ / "small").c_str(), MNT_DETACH);
}

TEST_F(SavingFaults, ADestinationThatVanishesMidRunFailsTheRestClearly) {
  test::ZipWriter w;
  w.Add("one.txt", "1", 0).Add("two.txt", "2", 0).Add("three.txt", "3", 0).Finish();
  w.Save(dir_ / "a.zip");
  collect_.afterEntry = [this](const EntrySaveReport&) {
    if (collect_.reports.size() == 1) {
      fs::remove_all(collect_.folders.back());
      test::WriteFile(collect_.folders.back(), "now a file");
    }
  };
  Save({(dir_ / "a.zip").string()}, dir_ / "out");
  ASSERT_EQ(collect_.reports.size(), 3u);
  EXPECT_EQ(collect_.reports[1].verdict, EntryVerdict::Failed);
  EXPECT_EQ(collect_.reports[2].verdict, EntryVerdict::Failed);
  ASSERT_TRUE(collect_.reports[2].error);
  EXPECT_EQ(collect_.reports[2].error->Code(), kFileError);
  EXPECT_TRUE(collect_.finished);
}

TEST_F(SavingFaults, SourcesChangedAfterTheAnalysisAreHandledOneByOne) {
  test::ZipWriter w;
  w.Add("a.txt", std::string(50000, 'a')).Add("b.txt", std::string(50000, 'b'), 0).Finish();
  w.Save(dir_ / "deleted.zip");
  w.Save(dir_ / "cut.zip");
  w.Save(dir_ / "fine.zip");
  fs::remove(dir_ / "deleted.zip");
  fs::resize_file(dir_ / "cut.zip", w.Entries()[1].dataOffset + 1000);
  Save({(dir_ / "deleted.zip").string(), (dir_ / "cut.zip").string(), (dir_ / "fine.zip").string()}, dir_ / "out");
  ASSERT_EQ(collect_.skipped.size(), 1u);
  EXPECT_NE(collect_.skipped[0].find("deleted.zip"), std::string::npos);
  ASSERT_EQ(collect_.reports.size(), 4u);
  EXPECT_EQ(collect_.reports[0].verdict, EntryVerdict::Verified);
  EXPECT_EQ(collect_.reports[1].verdict, EntryVerdict::Partial);
  EXPECT_EQ(collect_.reports[1].bytesWritten, 1000u);
  EXPECT_EQ(collect_.reports[3].verdict, EntryVerdict::Verified);
  EXPECT_TRUE(collect_.finished);
}

}  // namespace
}  // namespace vz::pipeline
