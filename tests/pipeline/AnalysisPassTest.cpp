#include <gtest/gtest.h>

#include "app/LogBlocks.h"
#include "pipeline/AnalysisPass.h"
#include "pipeline/JobControl.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

using test::ZipWriter;

class RecordingReporter : public IAnalysisReporter {
 public:
  void SetBarPosition(int percent) override { bars.push_back(percent); }
  void ClearRows() override { rows.clear(); }
  void AddRow(const EntryRow& row) override {
    rows.push_back(row);
    if (onRow) onRow();
  }
  void SetListedCount(const std::string& text) override { counts.push_back(text); }
  void ShowMessage(const UserMessage& message) override { messages.push_back(message); }
  void Finished() override { ++finished; }

  std::vector<int> bars;
  std::vector<EntryRow> rows;
  std::vector<std::string> counts;
  std::vector<UserMessage> messages;
  int finished = 0;
  std::function<void()> onRow;
};

class AnalysisPassTest : public ::testing::Test {
 protected:
  AnalysisPassTest() : settings_(dir_ / "settings.ini"), log_(settings_), archive_(context_) {
    test::WriteFile(dir_ / "settings.ini", "[VFZIP]\nLogPath=" + dir_.Path().string() + "\n");
  }
  AnalysisEnd Analyse(const std::string& bytes, int number = 1) {
    test::WriteFile(dir_ / "a.zip", bytes);
    return Analyse(std::vector<std::string>{(dir_ / "a.zip").string()}, number);
  }
  AnalysisEnd Analyse(const std::vector<std::string>& files, int number = 1) {
    CAnalysisPass pass(archive_, context_, log_, reporter_, control_, stall_);
    AnalysisEnd end = pass.Run(files, number);
    bar_ = pass.BarPosition();
    return end;
  }
  std::string LogText() { return test::ReadFile(log_.LogFilePath()); }

  test::TempDir dir_;
  app::CSettingsStore settings_;
  app::CActivityLog log_;
  CScanContext context_;
  CRepairArchive archive_;
  RecordingReporter reporter_;
  CJobControl control_;
  int stall_ = 0;
  int bar_ = 0;
};

TEST_F(AnalysisPassTest, ListsEveryRecoverableEntryWithItsSixTexts) {
  ZipWriter w;
  test::EntryRecipe a;
  a.name = "dir/BOOK.TXT";
  a.data = std::string(3000, 'b');
  a.date = test::DosDate(2026, 12, 7);
  a.time = test::DosTime(20, 5, 8);
  w.Add(a).Add("PACK.DAT", std::string(512, 'p'), 0).Add("..", "dots", 0).Finish();
  EXPECT_EQ(Analyse(w.Bytes()), AnalysisEnd::Listed);
  ASSERT_EQ(reporter_.rows.size(), 2u);
  const auto& t = reporter_.rows[0].texts;
  EXPECT_EQ(t[0], "dir\\BOOK.TXT");
  EXPECT_EQ(t[1], "2   KB");
  EXPECT_EQ(t[2], std::to_string(w.Entries()[0].compressedSize) + "   Bytes");
  EXPECT_EQ(t[3], std::to_string(w.Entries()[0].compressedSize * 100 / 3000) + "%");
  EXPECT_EQ(t[4], "07 Dec 2026, 20:05:08");
  EXPECT_EQ(t[5], std::to_string(w.Entries()[0].crc));
  EXPECT_EQ(reporter_.rows[1].texts[1], "512   Bytes");
  EXPECT_EQ(reporter_.rows[1].texts[3], "100%");
  EXPECT_EQ(reporter_.counts, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(reporter_.finished, 1);
  EXPECT_EQ(bar_, 99);
  EXPECT_EQ(context_.EntriesFound, 0u);
  EXPECT_EQ(LogText(), app::FileStartBlock(1, (dir_ / "a.zip").string()) + app::FileEndBlock(2));
}

TEST_F(AnalysisPassTest, AStubInFrontOfTheArchiveIsNoReasonToGiveUp) {
  ZipWriter w;
  w.Raw(std::string("MZ\x90\x00", 4) + std::string(2000, '\x01'));
  w.Add("inside.txt", "inside").Finish();
  EXPECT_EQ(Analyse(w.Bytes()), AnalysisEnd::Listed);
  ASSERT_EQ(reporter_.rows.size(), 1u);
  EXPECT_TRUE(reporter_.messages.empty());
}

struct EndCase {
  const char* label;
  std::string bytes;
  AnalysisEnd end;
  const char* message;
};

TEST_F(AnalysisPassTest, EndsWithoutAnArchive) {
  const EndCase cases[] = {
      {"100 bytes", std::string(100, 'P'), AnalysisEnd::TooSmall, nullptr},
      {"101 bytes, no signature", std::string(101, 'P'), AnalysisEnd::NoSignature, kHighlyCorruptedText},
      {"executable stub only", "MZ\x90" + std::string(500, '\0'), AnalysisEnd::NoSignature, kHighlyCorruptedText},
  };
  for (const EndCase& c : cases) {
    reporter_ = RecordingReporter();
    EXPECT_EQ(Analyse(c.bytes), c.end) << c.label;
    EXPECT_TRUE(reporter_.rows.empty());
    EXPECT_EQ(reporter_.finished, 1);
    if (c.message == nullptr) {
      EXPECT_TRUE(reporter_.messages.empty()) << c.label;
    } else {
      ASSERT_EQ(reporter_.messages.size(), 1u) << c.label;
      EXPECT_EQ(reporter_.messages[0].text, c.message);
      EXPECT_EQ(reporter_.messages[0].caption, "  Velmora for Zip");
    }
  }
  EXPECT_EQ(LogText().find("Number Of Files Extracted"), std::string::npos);
}

TEST_F(AnalysisPassTest, MissingFilesAndFoldersAreReportedAsSuch) {
  EXPECT_EQ(Analyse(std::vector<std::string>{(dir_ / "gone.zip").string()}), AnalysisEnd::FileMissing);
  EXPECT_TRUE(reporter_.messages.empty());
  EXPECT_EQ(Analyse(std::vector<std::string>{dir_.Path().string()}), AnalysisEnd::CannotOpen);
  ASSERT_EQ(reporter_.messages.size(), 1u);
  EXPECT_EQ(reporter_.messages[0].text, "File is already open ,Please close the file");
  EXPECT_EQ(reporter_.messages[0].caption, " Velmora for Zip");
  EXPECT_EQ(Analyse(std::vector<std::string>{"x.zip"}, 2), AnalysisEnd::FileMissing);  // no such entry
  EXPECT_EQ(reporter_.finished, 3);
}

TEST_F(AnalysisPassTest, ScanReportsNeverMoveTheBarBackAndCreepEvery2000) {
  CAnalysisPass pass(archive_, context_, log_, reporter_, control_, stall_);
  pass.ReportAnalysisProgress(50, 100);
  EXPECT_EQ(pass.BarPosition(), 50);
  for (int i = 0; i < 1999; ++i) pass.ReportAnalysisProgress(10, 100);
  EXPECT_EQ(pass.BarPosition(), 50);
  pass.ReportAnalysisProgress(10, 100);
  EXPECT_EQ(pass.BarPosition(), 51);
  EXPECT_EQ(stall_, 0);
  pass.ReportAnalysisProgress(100, 100);
  EXPECT_EQ(pass.BarPosition(), 99);
  pass.ReportAnalysisProgress(5, 100);
  EXPECT_EQ(stall_, 1);  // kept for the next pass
}

TEST_F(AnalysisPassTest, AfterAStopNothingMoreHappens) {
  ZipWriter w;
  for (int i = 0; i < 5; ++i) w.Add("f" + std::to_string(i), "data", 0);
  w.Finish();
  reporter_.onRow = [this] { control_.Stop(); };
  EXPECT_EQ(Analyse(w.Bytes()), AnalysisEnd::Stopped);
  EXPECT_EQ(reporter_.rows.size(), 1u);
  EXPECT_EQ(reporter_.finished, 0);
  EXPECT_EQ(LogText().find("Number Of Files Extracted"), std::string::npos);
  EXPECT_FALSE(archive_.IsOpen());
}

}  // namespace
}  // namespace vz::pipeline
