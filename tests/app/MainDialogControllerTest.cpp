#include <gtest/gtest.h>

#include <deque>

#include "app/LogBlocks.h"
#include "app/MainDialogController.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/ZipWriter.h"

namespace vz::app {
namespace {

struct FakeView : IMainDialogView {
  void ShowRows(const std::vector<std::string>& paths) override { rows = paths; }
  std::optional<std::size_t> SelectedRow() const override { return selected; }
  void EnableClearButtons(bool e) override { clearEnabled = e; }
  void EnableRepair(bool e) override { repairEnabled.push_back(e); }
  void CheckModeRadio(int m) override { radio = m; }
  void CheckSkipPreview(bool c) override { skipChecked = c; }
  void EnableSaveMenuItems(bool e) override { saveItems = e; }
  void SetVisible(bool v) override { visible.push_back(v); }
  void EndDialog() override { ended = true; }

  std::vector<std::string> rows;
  std::optional<std::size_t> selected;
  bool clearEnabled = true, skipChecked = false, saveItems = true, ended = false;
  int radio = -1;
  std::vector<bool> repairEnabled, visible;
};


std::tm Noon() {
  std::tm tm{};
  tm.tm_mday = 7;
  tm.tm_mon = 11;
  tm.tm_year = 126;
  tm.tm_hour = 12;
  return tm;
}

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() : settings_(dir_ / "settings.ini"), log_(settings_) {
    test::WriteFile(dir_ / "settings.ini", "[VFZIP]\nLogPath=" + dir_.Path().string() + "\n");
    for (const char* name : {"a.zip", "b.zip", "c.zip", "A.ZIP"}) test::WriteFile(dir_ / name, "x");
    actions_.runPreview = [this] { ++previews_; };
    actions_.endProcessNow = [this](int code) { exitCode_ = code; };
    actions_.clock = Noon;
  }
  CMainDialogController Make() { return CMainDialogController(view_, messages_, log_, state_, actions_); }
  std::string P(const char* name) { return (dir_ / name).string(); }
  std::string Log() { return test::ReadFile(log_.LogFilePath()); }

  test::TempDir dir_;
  CSettingsStore settings_;
  CActivityLog log_;
  FakeView view_;
  test::ScriptedMessages messages_;
  RunState state_;
  MainDialogActions actions_;
  int previews_ = 0;
  int exitCode_ = -1;
};

TEST_F(MainDialogTest, StartsQuickWithNothingToClearAndLogsTheHeader) {
  auto c = Make();
  c.Initialise();
  EXPECT_EQ(view_.radio, kQuickRepair);
  EXPECT_FALSE(view_.clearEnabled);
  EXPECT_FALSE(view_.saveItems);
  EXPECT_EQ(Log(), StartHeaderBlock(Noon()));
}

TEST_F(MainDialogTest, AddsExistingFilesOnceEachKeepingCaseDistinctNames) {
  auto c = Make();
  c.Initialise();
  c.AddFiles({P("a.zip"), P("missing.zip"), P("b.zip"), (dir_.Path() / "." / "a.zip").string(), "", P("A.ZIP")});
  EXPECT_EQ(view_.rows, (std::vector<std::string>{P("a.zip"), P("b.zip"), P("A.ZIP")}));
  EXPECT_TRUE(view_.clearEnabled);
  c.AddFiles({P("b.zip")});
  EXPECT_EQ(view_.rows.size(), 3u);
}

TEST_F(MainDialogTest, ClearSelectedAsksAndRenumbers) {
  auto c = Make();
  c.Initialise();
  c.AddFiles({P("a.zip"), P("b.zip"), P("c.zip")});
  c.ClearSelected();
  ASSERT_EQ(messages_.asked.size(), 1u);
  EXPECT_EQ(messages_.asked[0].text, "Please select any file to remove");
  EXPECT_EQ(messages_.asked[0].caption, "  Velmora for Zip");
  view_.selected = 1;
  messages_.next = {MessageAnswer::No};
  c.ClearSelected();
  EXPECT_EQ(view_.rows.size(), 3u);
  EXPECT_EQ(messages_.asked[1].text, "Do you want to clear the selected file?");
  messages_.next = {MessageAnswer::Yes};
  c.ClearSelected();
  EXPECT_EQ(view_.rows, (std::vector<std::string>{P("a.zip"), P("c.zip")}));
}

TEST_F(MainDialogTest, ClearAllOnAnEmptyListSaysNothing) {
  auto c = Make();
  c.Initialise();
  c.ClearAll();
  EXPECT_TRUE(messages_.asked.empty());
  c.AddFiles({P("a.zip")});
  messages_.next = {MessageAnswer::Yes};
  c.ClearAll();
  EXPECT_EQ(messages_.asked.back().text, "Do you want to clear all files ?");
  EXPECT_EQ(messages_.asked.back().caption, " Velmora for Zip");
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_FALSE(view_.clearEnabled);
}

TEST_F(MainDialogTest, EveryModeChoiceIsLoggedAndSkipPreviewTogglesBack) {
  auto c = Make();
  c.ModeChosen(kQuickRepair);
  c.ModeChosen(kAdvanceRepair);
  c.ModeChosen(kAdvanceRepair);
  EXPECT_EQ(state_.RepairMode, kAdvanceRepair);
  EXPECT_EQ(view_.radio, kAdvanceRepair);
  EXPECT_EQ(Log(), RepairModeBlock(kQuickRepair) + RepairModeBlock(kAdvanceRepair) + RepairModeBlock(kAdvanceRepair));
  c.SkipPreviewMenu();
  EXPECT_TRUE(state_.SkipPreview);
  EXPECT_TRUE(view_.skipChecked);
  c.SkipPreviewMenu();
  EXPECT_FALSE(state_.SkipPreview);
  EXPECT_FALSE(view_.skipChecked);
  c.SkipPreviewClicked(true);
  EXPECT_TRUE(state_.SkipPreview);
}

TEST_F(MainDialogTest, RepairHandsOverTheRowsOrRefusesAnEmptySelection) {
  auto c = Make();
  c.Repair();
  ASSERT_EQ(messages_.asked.size(), 1u);
  EXPECT_EQ(messages_.asked[0].text, "No files selected, Kindly select a file");
  EXPECT_EQ(previews_, 0);
  EXPECT_TRUE(view_.visible.empty());

  c.AddFiles({P("a.zip"), P("b.zip")});
  c.Repair();
  EXPECT_EQ(previews_, 1);
  EXPECT_EQ(state_.SourceFileList, (std::vector<std::string>{P("a.zip"), P("b.zip")}));
  EXPECT_EQ(state_.SourceFileCount, 2u);
  EXPECT_EQ(view_.visible, (std::vector<bool>{false, true}));
  std::vector<std::string> files = {P("a.zip"), P("b.zip")};
  EXPECT_EQ(Log(), SourceFilesBlock({}, kQuickRepair, false) + SourceFilesBlock(files, kQuickRepair, false) +
                       AnalysisHeadingBlock(2));

  // Only the last row is checked for existence.
  std::filesystem::remove(dir_ / "b.zip");
  c.Repair();
  EXPECT_EQ(messages_.asked.back().text, "No files selected, Kindly select a file");
  EXPECT_EQ(previews_, 1);
}

TEST_F(MainDialogTest, LeavingAsksTheRightQuestions) {
  auto c = Make();
  messages_.next = {MessageAnswer::No};
  c.CloseRequested();
  EXPECT_EQ(messages_.asked.back().text, "Do you want to exit?");
  EXPECT_EQ(messages_.asked.back().caption, " Velmora for Zip");
  EXPECT_EQ(view_.repairEnabled, (std::vector<bool>{false, true}));
  EXPECT_FALSE(view_.ended);
  messages_.next = {MessageAnswer::No};
  c.EscapePressed();
  EXPECT_EQ(messages_.asked.back().text, "Do you want to exit ? ");
  EXPECT_EQ(messages_.asked.back().caption, "  Velmora for Zip");
  EXPECT_EQ(exitCode_, -1);
  messages_.next = {MessageAnswer::Yes};
  c.EscapePressed();
  EXPECT_EQ(exitCode_, 0);
  messages_.next = {MessageAnswer::Yes};
  c.ExitMenu();
  EXPECT_TRUE(view_.ended);
}

TEST_F(MainDialogTest, ViewAndClearLogUseTheFileTheWriterWrites) {
  std::string opened;
  actions_.openLogFile = [&](const std::string& path) { opened = path; };
  auto c = Make();
  c.ViewLog();
  EXPECT_EQ(opened, log_.LogFilePath().string());
  log_.AppendLog("old");
  messages_.next = {MessageAnswer::Yes};
  c.ClearLog();
  EXPECT_EQ(messages_.asked.back().text, "Do you want to clear Log File?");
  EXPECT_EQ(Log(), "\r\n");
}

}  // namespace
}  // namespace vz::app
