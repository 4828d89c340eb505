#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/LogBlocks.h"
#include "pipeline/JobControl.h"
#include "pipeline/SavingPass.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

using namespace std::chrono_literals;
using test::ZipWriter;

class RecordingSaver : public ISavingReporter {
 public:
  void SetCurrentBar(int p) override { Note("current " + std::to_string(p)); }
  void SetOverallBar(int p) override { Note("overall " + std::to_string(p)); }
  void SetFileName(const std::string& t) override { Note("name " + t); }
  void SetFileNumber(const std::string& t) override { Note("number " + t); }
  void SetFileTotal(const std::string& t) override { Note("total " + t); }
  void SetDestination(const std::string& t) override { Note("destination " + t); }
  void ArchiveSkipped(const std::string& path, const std::string& reason) override { Note("skipped " + path + ": " + reason); }
  void EntrySaved(const EntrySaveReport& r) override {
    Note("entry " + r.name);
    if (onEntry) onEntry();
  }
  void Finished() override { Note("finished"); }

  std::vector<std::string> Events() {
    std::lock_guard lock(mutex);
    return events;
  }
  std::vector<int> Overall() {
    std::vector<int> out;
    for (const auto& e : Events())
      if (e.rfind("overall ", 0) == 0) out.push_back(std::stoi(e.substr(8)));
    return out;
  }
  std::function<void()> onEntry;

 private:
  void Note(std::string e) {
    std::lock_guard lock(mutex);
    events.push_back(std::move(e));
  }
  std::mutex mutex;
  std::vector<std::string> events;
};

std::tm At(int day, int month, int year, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_mday = day;
  tm.tm_mon = month - 1;
  tm.tm_year = year - 1900;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return tm;
}

class SavingPassTest : public ::testing::Test {
 protected:
  SavingPassTest() : settings_(dir_ / "settings.ini"), log_(settings_), archive_(context_) {
    test::WriteFile(dir_ / "settings.ini", "[VFZIP]\nLogPath=" + dir_.Path().string() + "\n");
    std::filesystem::create_directories(dir_ / "out");
  }
  std::string MakeArchive(const std::string& name, int entries) {
    ZipWriter w;
    for (int i = 0; i < entries; ++i) w.Add("same" + std::to_string(i) + ".txt", name + " entry " + std::to_string(i));
    w.Finish();
    w.Save(dir_ / name);
    return (dir_ / name).string();
  }
  SavingEnd Save(const SavingRequest& request) {
    CSavingPass pass(archive_, context_, log_, reporter_, control_, stall_, [] { return At(7, 12, 2026, 20, 5, 9); });
    SavingEnd end = pass.Run(request);
    folders_ = pass.Folders();
    return end;
  }

  test::TempDir dir_;
  app::CSettingsStore settings_;
  app::CActivityLog log_;
  CScanContext context_;
  CRepairArchive archive_;
  RecordingSaver reporter_;
  CJobControl control_;
  int stall_ = 0;
  std::vector<std::filesystem::path> folders_;
};

TEST(DestinationFolder, NameHasTwoBlanksBeforeEachGroupAndNoLeadingZeros) {
  EXPECT_EQ(DestinationFolderFor("/out", At(7, 12, 2026, 20, 5, 9)),
            std::filesystem::path("/out/VF_Recovered_Zip  7-12-2026  20-5-9"));
  EXPECT_EQ(DestinationFolderFor("/d", At(1, 1, 2030, 0, 0, 0)), std::filesystem::path("/d/VF_Recovered_Zip  1-1-2030  0-0-0"));
}

TEST_F(SavingPassTest, SaveAllGivesEachArchiveItsOwnFolderEvenWithinOneSecond) {
  SavingRequest request;
  request.sourceFiles = {MakeArchive("one.zip", 2), (dir_ / "deleted.zip").string(), MakeArchive("three.zip", 1)};
  request.destination = dir_ / "out";
  EXPECT_EQ(Save(request), SavingEnd::Finished);
  const std::string base = (dir_ / "out/VF_Recovered_Zip  7-12-2026  20-5-9").string();
  ASSERT_EQ(folders_.size(), 3u);
  EXPECT_EQ(folders_[0].string(), base);
  EXPECT_EQ(folders_[1].string(), base + " (2)");
  EXPECT_EQ(folders_[2].string(), base + " (3)");
  EXPECT_EQ(test::ReadFile(folders_[0] / "same0.txt"), "one.zip entry 0");
  EXPECT_EQ(test::ReadFile(folders_[2] / "same0.txt"), "three.zip entry 0");
  EXPECT_TRUE(std::filesystem::is_empty(folders_[1]));
  auto overall = reporter_.Overall();
  EXPECT_EQ(overall, (std::vector<int>{0, 33, 66, 100}));
  auto events = reporter_.Events();
  EXPECT_EQ(events.back(), "finished");
  EXPECT_NE(std::find(events.begin(), events.end(), "total 3"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), "number 3"), events.end());
  EXPECT_EQ(test::ReadFile(log_.LogFilePath()), app::SavingHeadingBlock() + app::DestinationBlock(base) +
                                                     app::DestinationBlock(base + " (2)") +
                                                     app::DestinationBlock(base + " (3)"));
}

TEST_F(SavingPassTest, SaveCurrentFileSavesOnlyTheShownArchiveAndMovesBothBars) {
  SavingRequest request;
  request.sourceFiles = {MakeArchive("one.zip", 1), MakeArchive("two.zip", 4)};
  request.currentFileNumber = 2;
  request.saveCurrentFileOnly = true;
  request.destination = dir_ / "out";
  EXPECT_EQ(Save(request), SavingEnd::Finished);
  ASSERT_EQ(folders_.size(), 1u);
  EXPECT_EQ(test::ListFiles(folders_[0]).size(), 4u);
  EXPECT_EQ(test::ReadFile(folders_[0] / "same3.txt"), "two.zip entry 3");
  auto overall = reporter_.Overall();
  ASSERT_FALSE(overall.empty());
  EXPECT_TRUE(std::is_sorted(overall.begin(), overall.end()));
  EXPECT_GE(overall.back(), 98);
  auto events = reporter_.Events();
  EXPECT_NE(std::find(events.begin(), events.end(), "number 1"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), "total 1"), events.end());
}

TEST_F(SavingPassTest, SmallAndUnreadableSourcesAreSkippedAndTheRestGoesOn) {
  test::WriteFile(dir_ / "tiny.zip", std::string(100, 'P'));
  SavingRequest request;
  request.sourceFiles = {(dir_ / "tiny.zip").string(), dir_.Path().string(), MakeArchive("ok.zip", 1)};
  request.destination = dir_ / "out";
  EXPECT_EQ(Save(request), SavingEnd::Finished);
  auto events = reporter_.Events();
  EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("skipped", 0) == 0; }), 2);
  EXPECT_EQ(test::ReadFile(folders_[2] / "same0.txt"), "ok.zip entry 0");
}

TEST_F(SavingPassTest, ScanReportsCreepEvery4000AndStopAt98) {
  CSavingPass pass(archive_, context_, log_, reporter_, control_, stall_);
  pass.ReportSavingProgress(40, 100);
  for (int i = 0; i < 3999; ++i) pass.ReportSavingProgress(1, 100);
  EXPECT_EQ(pass.CurrentBar(), 40);
  pass.ReportSavingProgress(1, 100);
  EXPECT_EQ(pass.CurrentBar(), 41);
  pass.ReportSavingProgress(100, 100);
  EXPECT_EQ(pass.CurrentBar(), 98);
}


TEST_F(SavingPassTest, AfterAStopNothingFollowsAndNoFileStaysOpen) {
  SavingRequest request;
  request.sourceFiles = {MakeArchive("one.zip", 5), MakeArchive("two.zip", 5)};
  request.destination = dir_ / "out";
  reporter_.onEntry = [this] { control_.Stop(); };
  int before = test::CountOpenDescriptors();
  EXPECT_EQ(Save(request), SavingEnd::Stopped);
  EXPECT_EQ(test::CountOpenDescriptors(), before);
  auto events = reporter_.Events();
  EXPECT_EQ(events.back(), "entry same0.txt");
  EXPECT_EQ(folders_.size(), 1u);
  EXPECT_EQ(test::ListFiles(dir_ / "out"), (std::vector<std::string>{
                                               "VF_Recovered_Zip  7-12-2026  20-5-9/same0.txt"}));
}

TEST_F(SavingPassTest, WhilePausedNothingMovesAndResumeCompletes) {
  SavingRequest request;
  request.sourceFiles = {MakeArchive("one.zip", 30), MakeArchive("two.zip", 30)};
  request.destination = dir_ / "out";
  std::atomic<int> seen{0};
  reporter_.onEntry = [&] {
    if (++seen == 10) control_.Pause();
  };
  std::thread worker([&] { Save(request); });
  while (!control_.IsPaused()) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(30ms);
  auto frozenEvents = reporter_.Events().size();
  auto frozenFiles = test::ListFiles(dir_ / "out").size();
  auto frozenLog = std::filesystem::file_size(log_.LogFilePath());
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(reporter_.Events().size(), frozenEvents);
  EXPECT_EQ(test::ListFiles(dir_ / "out").size(), frozenFiles);
  EXPECT_EQ(std::filesystem::file_size(log_.LogFilePath()), frozenLog);
  control_.Resume();
  worker.join();
  EXPECT_EQ(reporter_.Events().back(), "finished");
  EXPECT_EQ(test::ListFiles(dir_ / "out").size(), 60u);
}

}  // namespace
}  // namespace vz::pipeline
