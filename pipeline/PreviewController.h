#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/ActivityLog.h"
#include "app/Messages.h"
#include "app/RunState.h"

namespace vz::pipeline {

// What the Preview's window shows; the controller decides, the view draws.
class IPreviewView {
 public:
  virtual ~IPreviewView() = default;
  virtual void SetSourcePath(const std::string& text) = 0;     // 1037
  virtual void SetFileNumber(const std::string& text) = 0;     // 1012
  virtual void SetFileTotal(const std::string& text) = 0;      // 1033
  virtual void SetListedCount(const std::string& text) = 0;    // 1043
  virtual std::size_t RowCount() const = 0;
  virtual void EnableBackFile(bool enabled) = 0;
  virtual void EnableNextFile(bool enabled) = 0;
  virtual void EnableSaveCurrent(bool enabled) = 0;            // button and menu item
  virtual void EnableSaveAll(bool enabled) = 0;
  virtual void EnableBack(bool enabled) = 0;
  virtual void EnableSourceLabels(bool enabled) = 0;           // 1044 and 1045
  virtual void SetVisible(bool visible) = 0;
  virtual void Close() = 0;
};

struct PreviewActions {
  // Runs a fresh Analysis dialog for the current file, modally.
  std::function<void(int currentFileNumber)> runAnalysis;
  // Asks for a destination folder; nothing when the user cancels.
  std::function<std::optional<std::string>()> chooseFolder;
  // Runs the File Saving dialog modally.
  std::function<void(bool saveCurrentFileOnly, const std::string& destination, int currentFileNumber)> runSaving;
  std::function<void(int exitCode)> endProcessNow;
};

inline constexpr const char* kSaveAllHintText = "Analysis completed, click on save all button to continue";
inline constexpr const char* kPreviousStepQuestion = "Do you want to go to previous step ?";
inline constexpr const char* kSavingPathMissingText = "Saving path doesn't exist, select another path for saving ";
inline constexpr const char* kMenuExitQuestion = "Do you want to exit?            ";
inline constexpr const char* kCloseExitQuestion = "Do you want to exit?        ";
inline constexpr const char* kEscapeExitQuestion = "Do you want to exit ?        ";

// True when a file can be created in folder; probes with a fresh unique name
// so that nothing already there is touched.
bool FolderIsWritable(const std::filesystem::path& folder);

// The Preview without its window: paging through the source files, the enable
// rules, the questions, and the hand-over to analysis and saving.
class CPreviewController {
 public:
  CPreviewController(IPreviewView& view, app::IMessageService& messages, app::ILogSink& log, app::RunState& state,
                     PreviewActions actions);

  void Initialise();
  // The first repaint: the first analysis, or the Save All hint.
  void FirstShown();
  void NextFile();
  void BackFile();
  void Back();
  void SaveCurrentFile();
  void SaveAll();
  void MenuExit();
  void CloseRequested();
  void EscapePressed();

  int CurrentFileNumber() const noexcept { return current_; }

 private:
  void ShowFile();
  void UpdatePaging();
  void AfterAnalysis();
  void Analyse();
  void Save(bool currentOnly);
  void AskExit(const char* question, std::string_view caption);

  IPreviewView& view_;
  app::IMessageService& messages_;
  app::ILogSink& log_;
  app::RunState& state_;
  PreviewActions actions_;
  int current_ = 0;
  bool analysisRequested_ = false;
  bool hintPending_ = false;
};

}  // namespace vz::pipeline
