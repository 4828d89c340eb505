#pragma once

#include <functional>
#include <string>

#include "PassRunner.h"
#include "app/ActivityLog.h"
#include "app/Messages.h"
#include "zip/RepairArchive.h"

namespace vz::pipeline {

inline constexpr const char* kStopAnalysisQuestion = "Do you want to Stop the analysis process ";
inline constexpr const char* kAnalysisExitQuestion = "Do you want to exit ? ";
inline constexpr const char* kStopSavingQuestion = "Saving is in Process,Do you want to Stop?";
inline constexpr const char* kCloseSavingQuestion = "Saving is in Process,Do you want to exit?";
inline constexpr const char* kEscapeSavingQuestion = "Saving is in process, Do you want to exit ? ";
inline constexpr const char* kCompletionExitQuestion = " Saving Process is in running, Do you want to exit ? ";

// The few things a progress dialog's window does for its controller.
class IProgressDialogView {
 public:
  virtual ~IProgressDialogView() = default;
  virtual void SetPauseLabel(const std::string& text) = 0;  // "Pause" or "Resume"
  virtual void SetVisible(bool visible) = 0;
  virtual void Close() = 0;
};

// Shared by the Analysis and File Saving dialogs: Pause/Resume and the
// questions that hold the pass still while they stand.
class CProgressDialogBase {
 protected:
  CProgressDialogBase(IProgressDialogView& view, app::IMessageService& messages, CPassRunner& runner,
                      std::function<void(int)> endProcessNow)
      : view_(view), messages_(messages), runner_(runner), endProcessNow_(std::move(endProcessNow)) {}

 public:
  // Shows Pause and starts the pass on the worker.
  void Initialise(std::function<void(IJobGate&)> pass);
  void PauseClicked() { view_.SetPauseLabel(runner_.TogglePause() ? "Resume" : "Pause"); }

 protected:
  bool AskHolding(const char* question);
  void EndProcess() {
    if (endProcessNow_) endProcessNow_(0);
  }

  IProgressDialogView& view_;
  app::IMessageService& messages_;
  CPassRunner& runner_;
  std::function<void(int)> endProcessNow_;
};

// The Analysis dialog without its window.
class CAnalysisDialogController : public CProgressDialogBase {
 public:
  CAnalysisDialogController(IProgressDialogView& view, app::IMessageService& messages, CPassRunner& runner,
                            CRepairArchive& archive, CScanContext& context, std::function<void(int)> endProcessNow)
      : CProgressDialogBase(view, messages, runner, std::move(endProcessNow)), archive_(archive), context_(context) {}

  void StopClicked();
  void EscapePressed();
  void PassFinished();

 private:
  CRepairArchive& archive_;
  CScanContext& context_;
};

// The File Saving dialog without its window.
class CFileSavingController : public CProgressDialogBase {
 public:
  struct Outcome {
    bool saveCurrentFileOnly = false;
    std::size_t sourceFileCount = 0;
  };

  CFileSavingController(IProgressDialogView& view, app::IMessageService& messages, CPassRunner& runner,
                        app::ILogSink& log, std::function<void()> runCompletion, std::function<void(int)> endProcessNow)
      : CProgressDialogBase(view, messages, runner, std::move(endProcessNow)),
        log_(log),
        runCompletion_(std::move(runCompletion)) {}

  void StopClicked() { StopWith(kStopSavingQuestion); }
  void CloseRequested() { StopWith(kCloseSavingQuestion); }
  void EscapePressed() { StopWith(kEscapeSavingQuestion); }
  void PassFinished(const Outcome& outcome);

 private:
  void StopWith(const char* question);

  app::ILogSink& log_;
  std::function<void()> runCompletion_;
};

// The completion dialog without its window: "Saving Completed Successfully".
class CCompletionController {
 public:
  CCompletionController(app::IMessageService& messages, app::CActivityLog& log,
                        std::function<void(const std::string&)> openLogFile, std::function<void(int)> endProcessNow)
      : messages_(messages), log_(log), openLogFile_(std::move(openLogFile)), endProcessNow_(std::move(endProcessNow)) {}

  void Initialise();
  void OkClicked(bool viewLogChecked);
  void EscapePressed();

 private:
  app::IMessageService& messages_;
  app::CActivityLog& log_;
  std::function<void(const std::string&)> openLogFile_;
  std::function<void(int)> endProcessNow_;
};

}  // namespace vz::pipeline
