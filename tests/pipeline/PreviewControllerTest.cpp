#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "app/LogBlocks.h"
#include "pipeline/PreviewController.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

struct FakePreview : IPreviewView {
  void SetSourcePath(const std::string& t) override { texts["path"] = t; }
  void SetFileNumber(const std::string& t) override { texts["number"] = t; }
  void SetFileTotal(const std::string& t) override { texts["total"] = t; }
  void SetListedCount(const std::string& t) override { texts["listed"] = t; }
  std::size_t RowCount() const override { return rows; }
  void EnableBackFile(bool e) override { enabled["backFile"] = e; }
  void EnableNextFile(bool e) override { enabled["nextFile"] = e; }
  void EnableSaveCurrent(bool e) override { enabled["saveCurrent"] = e; }
  void EnableSaveAll(bool e) override { enabled["saveAll"] = e; }
  void EnableBack(bool e) override { enabled["back"] = e; }
  void EnableSourceLabels(bool e) override { enabled["labels"] = e; }
  void SetVisible(bool v) override { visible.push_back(v); }
  void Close() override { closed = true; }

  std::map<std::string, std::string> texts;
  std::map<std::string, bool> enabled;
  std::vector<bool> visible;
  std::size_t rows = 0;
  bool closed = false;
};


class PreviewTest : public ::testing::Test {
 protected:
  PreviewTest() {
    actions_.runAnalysis = [this](int n) {
      analysed_.push_back(n);
      view_.rows = rowsPerFile_.count(n) ? rowsPerFile_[n] : 2;
    };
    actions_.chooseFolder = [this] { return folder_; };
    actions_.runSaving = [this](bool currentOnly, const std::string& folder, int n) {
      saves_.push_back((currentOnly ? "current " : "all ") + folder + " " + std::to_string(n));
    };
    actions_.endProcessNow = [this](int code) { exit_ = code; };
  }
  CPreviewController Make(std::size_t files, bool skip = false) {
    state_.SourceFileList.clear();
    for (std::size_t i = 1; i <= files; ++i) state_.SourceFileList.push_back("/f" + std::to_string(i) + ".zip");
    state_.SourceFileCount = files;
    state_.SkipPreview = skip;
    return CPreviewController(view_, answers_, log_, state_, actions_);
  }
  bool On(const char* name) { return view_.enabled[name]; }

  FakePreview view_;
  test::ScriptedMessages answers_;
  app::CNullLog log_;
  app::RunState state_;
  PreviewActions actions_;
  std::vector<int> analysed_;
  std::map<int, std::size_t> rowsPerFile_;
  std::optional<std::string> folder_;
  std::vector<std::string> saves_;
  int exit_ = -1;
};

TEST_F(PreviewTest, OneFileNeverPages) {
  auto c = Make(1);
  c.Initialise();
  c.FirstShown();
  EXPECT_EQ(analysed_, std::vector<int>{1});
  EXPECT_FALSE(On("backFile"));
  EXPECT_FALSE(On("nextFile"));
  EXPECT_TRUE(On("saveCurrent"));
  EXPECT_EQ(view_.texts["path"], "/f1.zip");
  EXPECT_EQ(view_.texts["number"], "1");
  EXPECT_EQ(view_.texts["total"], "1");
}

TEST_F(PreviewTest, ThreeFilesPageBothWays) {
  auto c = Make(3);
  c.Initialise();
  c.FirstShown();
  EXPECT_FALSE(On("backFile"));
  EXPECT_TRUE(On("nextFile"));
  c.NextFile();
  EXPECT_TRUE(On("backFile"));
  EXPECT_TRUE(On("nextFile"));
  EXPECT_EQ(view_.texts["listed"], "");
  c.NextFile();
  EXPECT_TRUE(On("backFile"));
  EXPECT_FALSE(On("nextFile"));
  c.BackFile();
  EXPECT_EQ(analysed_, (std::vector<int>{1, 2, 3, 2}));
  EXPECT_EQ(view_.texts["path"], "/f2.zip");
}

TEST_F(PreviewTest, AFileWithoutRowsCannotBeSavedAlone) {
  rowsPerFile_[1] = 0;
  auto c = Make(2);
  c.Initialise();
  c.FirstShown();
  EXPECT_FALSE(On("saveCurrent"));
  EXPECT_TRUE(On("saveAll"));
  EXPECT_TRUE(On("back"));
}

TEST_F(PreviewTest, SkipPreviewOffersSaveAllWithOneHint) {
  auto c = Make(4, true);
  c.Initialise();
  c.FirstShown();
  c.FirstShown();
  EXPECT_TRUE(analysed_.empty());
  ASSERT_EQ(answers_.asked.size(), 1u);
  EXPECT_EQ(answers_.asked[0].text, "Analysis completed, click on save all button to continue");
  EXPECT_EQ(view_.texts["number"], "4");
  EXPECT_EQ(view_.texts["total"], "4");
  EXPECT_TRUE(On("saveAll"));
  EXPECT_TRUE(On("back"));
  EXPECT_FALSE(On("saveCurrent"));
  EXPECT_FALSE(On("labels"));
}

TEST_F(PreviewTest, BackAsksThenEmptiesTheSourceList) {
  auto c = Make(2);
  c.Initialise();
  c.Back();
  EXPECT_FALSE(view_.closed);
  EXPECT_EQ(state_.SourceFileList.size(), 2u);
  answers_.next = {app::MessageAnswer::Yes};
  c.Back();
  EXPECT_EQ(answers_.asked.back().text, "Do you want to go to previous step ?");
  EXPECT_TRUE(state_.SourceFileList.empty());
  EXPECT_TRUE(view_.closed);
}

TEST_F(PreviewTest, SavingNeedsAnExistingWritableFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "1.txt", "keep me");
  auto c = Make(1);
  c.Initialise();
  c.SaveAll();  // cancelled
  EXPECT_TRUE(saves_.empty());
  folder_ = (dir / "missing").string();
  c.SaveAll();
  EXPECT_EQ(answers_.asked.back().text, "Saving path doesn't exist, select another path for saving ");
  folder_ = dir.Path().string();
  c.SaveCurrentFile();
  EXPECT_EQ(saves_, std::vector<std::string>{"current " + dir.Path().string() + " 1"});
  EXPECT_EQ(view_.visible, (std::vector<bool>{false, true}));  // one file: hidden while saving
  EXPECT_EQ(test::ReadFile(dir / "1.txt"), "keep me");
  EXPECT_EQ(test::ListFiles(dir.Path()), std::vector<std::string>{"1.txt"});
}

TEST_F(PreviewTest, ExitQuestionsKeepTheirSpacing) {
  auto c = Make(1);
  c.MenuExit();
  c.CloseRequested();
  c.EscapePressed();
  ASSERT_EQ(answers_.asked.size(), 3u);
  EXPECT_EQ(answers_.asked[0].text, "Do you want to exit?            ");
  EXPECT_EQ(answers_.asked[0].caption, "  Velmora for Zip");
  EXPECT_EQ(answers_.asked[1].text, "Do you want to exit?        ");
  EXPECT_EQ(answers_.asked[1].caption, " Velmora for Zip");
  EXPECT_EQ(answers_.asked[2].text, "Do you want to exit ?        ");
  EXPECT_EQ(exit_, -1);
  answers_.next = {app::MessageAnswer::Yes};
  c.EscapePressed();
  EXPECT_EQ(exit_, 0);
}

}  // namespace
}  // namespace vz::pipeline
