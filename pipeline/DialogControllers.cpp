#include "DialogControllers.h"

#include "app/LogBlocks.h"
#include "app/Settings.h"

namespace vz::pipeline {

bool CProgressDialogBase::AskHolding(const char* question) {
  CPassRunner::Hold hold(runner_);
  return app::Ask(messages_, question, app::kWindowTitle);
}

void CProgressDialogBase::Initialise(std::function<void(IJobGate&)> pass) {
  view_.SetPauseLabel("Pause");
  runner_.Start(std::move(pass));
}

void CAnalysisDialogController::StopClicked() {
  if (!AskHolding(kStopAnalysisQuestion)) return;
  runner_.Stop();
  // What a stopped pass leaves behind must not reach the next one.
  archive_.DataError = false;
  context_.ClearStopFlags();
  context_.EntriesFound = 0;
  archive_.CloseArchive();
  view_.Close();
}

void CAnalysisDialogController::EscapePressed() {
  if (!AskHolding(kAnalysisExitQuestion)) return;
  runner_.Stop();
  archive_.CloseArchive();
  EndProcess();
}

void CAnalysisDialogController::PassFinished() {
  runner_.Join();
  view_.Close();
}

void CFileSavingController::StopWith(const char* question) {
  if (!AskHolding(question)) return;
  // The worker ends first, so that the abort block is the last thing written.
  runner_.Stop();
  log_.AppendLog(app::AbortedBlock());
  EndProcess();
}

void CFileSavingController::PassFinished(const Outcome& outcome) {
  runner_.Join();
  if (outcome.saveCurrentFileOnly && outcome.sourceFileCount > 1) {
    view_.Close();  // back to the Preview, where another file may be saved
    return;
  }
  view_.SetVisible(false);
  if (runCompletion_) runCompletion_();
  view_.SetVisible(true);
}

void CCompletionController::Initialise() { log_.AppendLog(app::CompletedBlock()); }

void CCompletionController::OkClicked(bool viewLogChecked) {
  if (viewLogChecked && openLogFile_) openLogFile_(log_.LogFilePath().string());
  if (endProcessNow_) endProcessNow_(0);
}

void CCompletionController::EscapePressed() {
  if (app::Ask(messages_, kCompletionExitQuestion, app::kMessageCaption) && endProcessNow_) endProcessNow_(0);
}

}  // namespace vz::pipeline
