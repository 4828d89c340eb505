#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>

#include "app/LogBlocks.h"
#include "pipeline/DialogControllers.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

using namespace std::chrono_literals;

struct FakeProgressView : IProgressDialogView {
  void SetPauseLabel(const std::string& t) override { label = t; }
  void SetVisible(bool v) override { visible.push_back(v); }
  void Close() override { closed = true; }
  std::string label;
  std::vector<bool> visible;
  bool closed = false;
};


// A pass that counts its steps until it is stopped.
struct CountingPass {
  std::atomic<long> steps{0};
  std::atomic<bool> stopped{false};
  std::function<void(IJobGate&)> Body() {
    return [this](IJobGate& gate) {
      try {
        for (;;) {
          gate.Checkpoint();
          ++steps;
        }
      } catch (const CArchiveError&) {
        stopped = true;
      }
    };
  }
  void WaitFor(long n) {
    while (steps < n) std::this_thread::yield();
  }
};

class ProgressDialogs : public ::testing::Test {
 protected:
  FakeProgressView view_;
  test::ScriptedMessages answers_;
  CPassRunner runner_;
  CScanContext context_;
  CRepairArchive archive_{context_};
  CountingPass pass_;
  int exit_ = -1;
  std::function<void(int)> endProcess_ = [this](int code) { exit_ = code; };
};

TEST_F(ProgressDialogs, AStopAnsweredNoWhilePausedLeavesThePassPaused) {
  CAnalysisDialogController c(view_, answers_, runner_, archive_, context_, endProcess_);
  c.Initialise(pass_.Body());
  EXPECT_EQ(view_.label, "Pause");
  pass_.WaitFor(100);
  c.PauseClicked();
  EXPECT_EQ(view_.label, "Resume");
  std::this_thread::sleep_for(20ms);
  long held = pass_.steps;
  c.StopClicked();  // answered No
  EXPECT_EQ(answers_.asked.back().text, "Do you want to Stop the analysis process ");
  EXPECT_EQ(answers_.asked.back().caption, " Velmora for Zip");
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(pass_.steps, held);
  EXPECT_TRUE(runner_.IsPaused());
  c.PauseClicked();
  EXPECT_EQ(view_.label, "Pause");
  pass_.WaitFor(held + 100);
  runner_.Stop();
}

TEST_F(ProgressDialogs, NothingMovesWhileAQuestionStands) {
  CAnalysisDialogController c(view_, answers_, runner_, archive_, context_, endProcess_);
  c.Initialise(pass_.Body());
  pass_.WaitFor(100);
  long during = -1, later = -1;
  answers_.onAsk = [&] {
    std::this_thread::sleep_for(20ms);
    during = pass_.steps;
    std::this_thread::sleep_for(50ms);
    later = pass_.steps;
  };
  c.EscapePressed();  // answered No: the pass goes on afterwards
  EXPECT_EQ(during, later);
  EXPECT_FALSE(runner_.IsPaused());
  pass_.WaitFor(later + 100);
  EXPECT_EQ(exit_, -1);
  answers_.onAsk = nullptr;
  answers_.next = {app::MessageAnswer::Yes};
  c.EscapePressed();
  EXPECT_EQ(answers_.asked.back().text, "Do you want to exit ? ");
  EXPECT_TRUE(pass_.stopped);
  EXPECT_EQ(exit_, 0);
}

TEST_F(ProgressDialogs, AStopAnsweredYesEndsThePassAndClearsWhatItLeft) {
  CAnalysisDialogController c(view_, answers_, runner_, archive_, context_, endProcess_);
  c.Initialise(pass_.Body());
  pass_.WaitFor(10);
  context_.DescriptorSeen = true;
  context_.ArchiveEndedEarly = true;
  context_.EntriesFound = 9;
  archive_.DataError = true;
  answers_.next = {app::MessageAnswer::Yes};
  c.StopClicked();
  EXPECT_TRUE(pass_.stopped);
  EXPECT_TRUE(view_.closed);
  EXPECT_FALSE(context_.DescriptorSeen || context_.ArchiveEndedEarly || archive_.DataError);
  EXPECT_EQ(context_.EntriesFound, 0u);
  EXPECT_EQ(exit_, -1);
}

class SavingDialog : public ProgressDialogs {
 protected:
  SavingDialog() : settings_(dir_ / "settings.ini"), log_(settings_) {
    test::WriteFile(dir_ / "settings.ini", "[VFZIP]\nLogPath=" + dir_.Path().string() + "\n");
  }
  test::TempDir dir_;
  app::CSettingsStore settings_;
  app::CActivityLog log_;
  int completions_ = 0;
};

TEST_F(SavingDialog, AConfirmedStopWritesTheAbortBlockLast) {
  auto pass = [this](IJobGate& gate) {
    try {
      for (;;) {
        gate.Checkpoint();
        log_.AppendLog("x");
      }
    } catch (const CArchiveError&) {
    }
  };
  CFileSavingController c(view_, answers_, runner_, log_, [this] { ++completions_; }, endProcess_);
  c.Initialise(pass);
  std::this_thread::sleep_for(10ms);
  answers_.next = {app::MessageAnswer::Yes};
  c.StopClicked();
  EXPECT_EQ(answers_.asked.back().text, "Saving is in Process,Do you want to Stop?");
  EXPECT_EQ(exit_, 0);
  std::string log = test::ReadFile(log_.LogFilePath());
  ASSERT_GE(log.size(), app::AbortedBlock().size());
  EXPECT_EQ(log.substr(log.size() - app::AbortedBlock().size()), app::AbortedBlock());
}

TEST_F(SavingDialog, TheEndLeadsToTheCompletionDialogOrBackToThePreview) {
  CFileSavingController c(view_, answers_, runner_, log_, [this] { ++completions_; }, endProcess_);
  c.Initialise([](IJobGate&) {});
  c.PassFinished({true, 3});
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(completions_, 0);
  c.Initialise([](IJobGate&) {});
  c.PassFinished({true, 1});
  EXPECT_EQ(completions_, 1);
  c.Initialise([](IJobGate&) {});
  c.PassFinished({false, 3});
  EXPECT_EQ(completions_, 2);
  EXPECT_EQ(view_.visible, (std::vector<bool>{false, true, false, true}));
  c.CloseRequested();
  EXPECT_EQ(answers_.asked.back().text, "Saving is in Process,Do you want to exit?");
  c.EscapePressed();
  EXPECT_EQ(answers_.asked.back().text, "Saving is in process, Do you want to exit ? ");
  EXPECT_EQ(exit_, -1);
}

TEST_F(SavingDialog, CompletionLogsAndEndsTheProgram) {
  std::string opened;
  CCompletionController c(answers_, log_, [&](const std::string& p) { opened = p; }, endProcess_);
  c.Initialise();
  EXPECT_EQ(test::ReadFile(log_.LogFilePath()), app::CompletedBlock());
  c.EscapePressed();
  EXPECT_EQ(answers_.asked.back().text, " Saving Process is in running, Do you want to exit ? ");
  EXPECT_EQ(answers_.asked.back().caption, "  Velmora for Zip");
  EXPECT_EQ(exit_, -1);
  c.OkClicked(true);
  EXPECT_EQ(opened, log_.LogFilePath().string());
  EXPECT_EQ(exit_, 0);
}

}  // namespace
}  // namespace vz::pipeline
