#include "MainDialogController.h"

#include <system_error>

#include "LogBlocks.h"
#include "Settings.h"

namespace vz::app {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  // Names are case-sensitive here; only the file's identity says "same".
  return std::filesystem::equivalent(a, b, ec) || a == b;
}

}  // namespace

CMainDialogController::CMainDialogController(IMainDialogView& view, IMessageService& messages, CActivityLog& log,
                                             RunState& state, MainDialogActions actions)
    : view_(view), messages_(messages), log_(log), state_(state), actions_(std::move(actions)) {
  if (!actions_.clock) actions_.clock = LocalNow;
}

void CMainDialogController::RowsChanged() {
  view_.ShowRows(rows_);
  view_.EnableClearButtons(!rows_.empty());
}

void CMainDialogController::Initialise() {
  view_.CheckModeRadio(state_.RepairMode);
  view_.CheckSkipPreview(state_.SkipPreview);
  log_.AppendLog(StartHeaderBlock(actions_.clock()));
  view_.EnableSaveMenuItems(false);
  RowsChanged();
}

void CMainDialogController::AddFiles(const std::vector<std::string>& chosen) {
  for (const std::string& path : chosen) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) continue;
    bool listed = false;
    for (const std::string& row : rows_) listed = listed || SameFile(row, path);
    if (listed) continue;
    rows_.push_back(path);
  }
  RowsChanged();
}

void CMainDialogController::ClearSelected() {
  std::optional<std::size_t> selected = view_.SelectedRow();
  if (!selected || *selected >= rows_.size()) {
    Tell(messages_, kSelectFileToRemoveText, kMessageCaption);
    return;
  }
  if (!Ask(messages_, kClearSelectedQuestion, kMessageCaption)) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected));
  RowsChanged();
}

void CMainDialogController::ClearAll() {
  if (rows_.empty()) return;
  if (!Ask(messages_, kClearAllQuestion, kWindowTitle)) return;
  rows_.clear();
  RowsChanged();
}

void CMainDialogController::ModeChosen(int mode) {
  state_.RepairMode = mode;
  view_.CheckModeRadio(mode);
  // Logged at every choice, also when the mode stays the same.
  log_.AppendLog(RepairModeBlock(mode));
}

void CMainDialogController::SkipPreviewClicked(bool checked) { state_.SkipPreview = checked; }

void CMainDialogController::SkipPreviewMenu() {
  state_.SkipPreview = !state_.SkipPreview;
  view_.CheckSkipPreview(state_.SkipPreview);
}

void CMainDialogController::Repair() {
  state_.SourceFileCount = rows_.size();
  state_.SourceFileList = rows_;
  log_.AppendLog(SourceFilesBlock(rows_, state_.RepairMode, state_.SkipPreview));
  const std::string last = rows_.empty() ? std::string() : rows_.back();
  std::error_code ec;
  if (last == " " || !std::filesystem::exists(last, ec) || state_.SourceFileList.empty()) {
    Tell(messages_, kNoFilesSelectedText, kWindowTitle);
    return;
  }
  view_.SetVisible(false);
  log_.AppendLog(AnalysisHeadingBlock(state_.SourceFileCount));
  if (actions_.runPreview) actions_.runPreview();
  view_.SetVisible(true);
}

void CMainDialogController::ViewLog() {
  if (actions_.openLogFile) actions_.openLogFile(log_.LogFilePath().string());
}

void CMainDialogController::About() {
  if (actions_.showAbout) actions_.showAbout();
}

void CMainDialogController::Help() {
  if (actions_.openHelp) actions_.openHelp();
}

void CMainDialogController::ClearLog() {
  if (Ask(messages_, kClearLogQuestion, kMessageCaption)) log_.Clear();
}

void CMainDialogController::CloseRequested() {
  view_.EnableRepair(false);
  if (Ask(messages_, kExitQuestion, kWindowTitle)) {
    view_.EndDialog();
  } else {
    view_.EnableRepair(true);
  }
}

void CMainDialogController::ExitMenu() {
  if (Ask(messages_, kExitQuestion, kWindowTitle)) view_.EndDialog();
}

void CMainDialogController::EscapePressed() {
  if (Ask(messages_, kEscapeExitQuestion, kMessageCaption) && actions_.endProcessNow) actions_.endProcessNow(0);
}

}  // namespace vz::app
