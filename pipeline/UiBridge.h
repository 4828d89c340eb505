#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "AnalysisPass.h"
#include "JobControl.h"
#include "SavingPass.h"

namespace vz::pipeline {

// Hands a call to the user-interface thread (wxWidgets' CallAfter in the
// desktop program, a queue in the tests). Never waits for the call to run.
class IUiDispatcher {
 public:
  virtual ~IUiDispatcher() = default;
  virtual void Post(std::function<void()> call) = 0;
};

// Carries a pass's reports from its worker to the user-interface thread.
// The worker never waits for the UI thread, except for a message box, and
// that wait ends at once when the pass is stopped. Updates are coalesced:
// at most one call is queued at a time, carrying the latest bar values, the
// latest texts and the rows gathered since the last one; a scan that reports
// every 100 bytes cannot flood the UI thread. Nothing reaches the view while
// the job is paused, and nothing after it was stopped.
class CUiBridge {
 public:
  CUiBridge(IUiDispatcher& dispatcher, CJobControl& control) : dispatcher_(dispatcher), control_(control) {}
  CUiBridge(const CUiBridge&) = delete;
  CUiBridge& operator=(const CUiBridge&) = delete;

  // Worker side.
  void SetValue(int slot, int value);
  void SetText(int slot, std::string text);
  void AddRow(EntryRow row);
  void ClearRows();
  void Finished();
  // Blocks until the UI thread has shown the message; throws
  // CArchiveError(kStopped) if the job is stopped meanwhile.
  void ShowMessage(const UserMessage& message);

  // UI side: what applies the updates, called only on the UI thread.
  struct Target {
    std::function<void(int slot, int value)> value;
    std::function<void(int slot, const std::string& text)> text;
    std::function<void(const std::vector<EntryRow>& rows)> rows;
    std::function<void()> clearRows;
    std::function<void(const UserMessage&)> message;  // modal; returns when answered
    std::function<void()> finished;
  };
  void SetTarget(Target target) { target_ = std::move(target); }
  // Applies what is pending; called by the posted call, and again by the
  // dialog after Resume to show what waited during the pause.
  void Flush();

 private:
  void Schedule();  // with mutex_ held

  IUiDispatcher& dispatcher_;
  CJobControl& control_;
  Target target_;
  std::mutex mutex_;
  std::condition_variable answered_;
  bool scheduled_ = false;
  bool clear_ = false;
  std::vector<std::pair<int, int>> values_;
  std::vector<std::pair<int, std::string>> texts_;
  std::vector<EntryRow> rows_;
  std::optional<UserMessage> message_;
  bool messageShown_ = false;
  bool finished_ = false;
};

// The analysis pass's reports through a bridge (slot 0: the bar; text slot 0:
// the listed count).
class CBridgedAnalysisReporter : public IAnalysisReporter {
 public:
  explicit CBridgedAnalysisReporter(CUiBridge& bridge) : bridge_(bridge) {}
  void SetBarPosition(int percent) override { bridge_.SetValue(0, percent); }
  void ClearRows() override { bridge_.ClearRows(); }
  void AddRow(const EntryRow& row) override { bridge_.AddRow(row); }
  void SetListedCount(const std::string& text) override { bridge_.SetText(0, text); }
  void ShowMessage(const UserMessage& message) override { bridge_.ShowMessage(message); }
  void Finished() override { bridge_.Finished(); }

 private:
  CUiBridge& bridge_;
};

// The saving pass's reports through a bridge (value slots: 0 current bar, 1
// overall bar; text slots: 0 file name, 1 file number, 2 file total,
// 3 destination).
class CBridgedSavingReporter : public ISavingReporter {
 public:
  enum Slot { kCurrentBar = 0, kOverallBar = 1, kFileName = 0, kFileNumber = 1, kFileTotal = 2, kDestination = 3 };
  explicit CBridgedSavingReporter(CUiBridge& bridge) : bridge_(bridge) {}
  void SetCurrentBar(int p) override { bridge_.SetValue(kCurrentBar, p); }
  void SetOverallBar(int p) override { bridge_.SetValue(kOverallBar, p); }
  void SetFileName(const std::string& t) override { bridge_.SetText(kFileName, t); }
  void SetFileNumber(const std::string& t) override { bridge_.SetText(kFileNumber, t); }
  void SetFileTotal(const std::string& t) override { bridge_.SetText(kFileTotal, t); }
  void SetDestination(const std::string& t) override { bridge_.SetText(kDestination, t); }
  void Finished() override { bridge_.Finished(); }

 private:
  CUiBridge& bridge_;
};

}  // namespace vz::pipeline
