#include "PreviewController.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>

#include "app/LogBlocks.h"
#include "app/Settings.h"

namespace vz::pipeline {

bool FolderIsWritable(const std::filesystem::path& folder) {
  std::string probe = (folder / ".velmora-probe-XXXXXX").string();
  int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

CPreviewController::CPreviewController(IPreviewView& view, app::IMessageService& messages, app::ILogSink& log,
                                       app::RunState& state, PreviewActions actions)
    : view_(view), messages_(messages), log_(log), state_(state), actions_(std::move(actions)) {}

void CPreviewController::Initialise() {
  view_.EnableSaveCurrent(false);
  view_.EnableSaveAll(false);
  view_.EnableBackFile(false);
  view_.EnableNextFile(false);
  view_.EnableBack(false);
  if (state_.SkipPreview) {
    view_.EnableBack(true);
    view_.EnableSaveAll(true);
    const std::string count = std::to_string(state_.SourceFileCount);
    view_.SetFileTotal(count);
    view_.SetFileNumber(count);
    view_.EnableSourceLabels(false);
    hintPending_ = true;
  } else {
    ++current_;
    ShowFile();
    view_.SetFileTotal(std::to_string(state_.SourceFileCount));
    UpdatePaging();
  }
  analysisRequested_ = true;
}

void CPreviewController::ShowFile() {
  auto index = static_cast<std::size_t>(current_ - 1);
  view_.SetSourcePath(index < state_.SourceFileList.size() ? state_.SourceFileList[index] : std::string());
  view_.SetFileNumber(std::to_string(current_));
}

void CPreviewController::UpdatePaging() {
  const auto count = static_cast<int>(state_.SourceFileCount);
  if (count <= 1) {
    view_.EnableBackFile(false);
    view_.EnableNextFile(false);
    return;
  }
  view_.EnableBackFile(current_ > 1);
  view_.EnableNextFile(current_ < count);
}

void CPreviewController::AfterAnalysis() {
  view_.EnableSaveAll(true);
  view_.EnableBack(true);
  view_.EnableSaveCurrent(view_.RowCount() > 0);
}

void CPreviewController::Analyse() {
  if (actions_.runAnalysis) actions_.runAnalysis(current_);
  AfterAnalysis();
}

void CPreviewController::FirstShown() {
  if (!state_.SkipPreview) {
    if (analysisRequested_) {
      analysisRequested_ = false;
      Analyse();
    }
  } else if (hintPending_) {
    hintPending_ = false;
    app::Tell(messages_, kSaveAllHintText, app::kMessageCaption);
  }
}

void CPreviewController::NextFile() {
  if (current_ >= static_cast<int>(state_.SourceFileCount)) return;
  ++current_;
  ShowFile();
  view_.SetListedCount("");
  UpdatePaging();
  Analyse();
}

void CPreviewController::BackFile() {
  if (current_ <= 1) return;
  --current_;
  ShowFile();
  view_.SetListedCount("");
  UpdatePaging();
  Analyse();
}

void CPreviewController::Back() {
  if (!app::Ask(messages_, kPreviousStepQuestion, app::kWindowTitle)) return;
  state_.SourceFileList.clear();
  log_.AppendLog(app::ReturnBackBlock());
  view_.Close();
}

void CPreviewController::Save(bool currentOnly) {
  if (!actions_.chooseFolder) return;
  std::optional<std::string> folder = actions_.chooseFolder();
  if (!folder) return;
  std::error_code ec;
  if (!std::filesystem::is_directory(*folder, ec)) {
    app::Tell(messages_, kSavingPathMissingText, app::kMessageCaption, false);
    return;
  }
  if (!FolderIsWritable(*folder)) return;
  bool hide = !currentOnly || state_.SourceFileCount == 1;
  if (hide) view_.SetVisible(false);
  if (actions_.runSaving) actions_.runSaving(currentOnly, *folder, current_);
  if (hide) view_.SetVisible(true);
}

void CPreviewController::SaveCurrentFile() { Save(true); }
void CPreviewController::SaveAll() { Save(false); }

void CPreviewController::AskExit(const char* question, std::string_view caption) {
  if (app::Ask(messages_, question, caption) && actions_.endProcessNow) actions_.endProcessNow(0);
}

void CPreviewController::MenuExit() { AskExit(kMenuExitQuestion, app::kMessageCaption); }
void CPreviewController::CloseRequested() { AskExit(kCloseExitQuestion, app::kWindowTitle); }
void CPreviewController::EscapePressed() { AskExit(kEscapeExitQuestion, app::kMessageCaption); }

}  // namespace vz::pipeline
