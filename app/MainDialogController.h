#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ActivityLog.h"
#include "Messages.h"
#include "RunState.h"

namespace vz::app {

// What the main dialog's window shows; the controller decides, the view draws.
class IMainDialogView {
 public:
  virtual ~IMainDialogView() = default;
  // Rows are numbered 1 to n in this order.
  virtual void ShowRows(const std::vector<std::string>& paths) = 0;
  virtual std::optional<std::size_t> SelectedRow() const = 0;
  virtual void EnableClearButtons(bool enabled) = 0;
  virtual void EnableRepair(bool enabled) = 0;
  virtual void CheckModeRadio(int mode) = 0;
  virtual void CheckSkipPreview(bool checked) = 0;
  virtual void EnableSaveMenuItems(bool enabled) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void EndDialog() = 0;
};

// What the main dialog starts outside itself.
struct MainDialogActions {
  std::function<void()> runPreview;          // modal, returns when the Preview ends
  std::function<void()> showAbout;
  std::function<void()> openHelp;
  std::function<void(const std::string&)> openLogFile;
  std::function<void(int exitCode)> endProcessNow;
  std::function<std::tm()> clock;
};

inline constexpr const char* kNoFilesSelectedText = "No files selected, Kindly select a file";
inline constexpr const char* kSelectFileToRemoveText = "Please select any file to remove";
inline constexpr const char* kClearSelectedQuestion = "Do you want to clear the selected file?";
inline constexpr const char* kClearAllQuestion = "Do you want to clear all files ?";
inline constexpr const char* kClearLogQuestion = "Do you want to clear Log File?";
inline constexpr const char* kExitQuestion = "Do you want to exit?";
inline constexpr const char* kEscapeExitQuestion = "Do you want to exit ? ";

// The main dialog without its window: the selected files, the mode, the
// preview choice, the questions it asks and the log lines it writes.
class CMainDialogController {
 public:
  CMainDialogController(IMainDialogView& view, IMessageService& messages, CActivityLog& log, RunState& state,
                        MainDialogActions actions);

  void Initialise();
  // Paths chosen in the file dialog, in its order: missing files and files
  // already listed (the same file, however it is spelled) are left out.
  void AddFiles(const std::vector<std::string>& chosen);
  void ClearSelected();
  void ClearAll();
  void ModeChosen(int mode);
  void SkipPreviewClicked(bool checked);
  void SkipPreviewMenu();
  void Repair();
  void ViewLog();
  void About();
  void Help();
  void ClearLog();
  void CloseRequested();  // title-bar close
  void ExitMenu();        // File > Exit
  void EscapePressed();

  const std::vector<std::string>& Rows() const noexcept { return rows_; }

 private:
  void RowsChanged();

  IMainDialogView& view_;
  IMessageService& messages_;
  CActivityLog& log_;
  RunState& state_;
  MainDialogActions actions_;
  std::vector<std::string> rows_;
};

}  // namespace vz::app
