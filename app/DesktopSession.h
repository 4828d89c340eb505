#pragma once

// One run of the desktop program: the state the windows share and the
// wiring between the main dialog and the repair windows. The program and
// the GUI test build the same session; the test only swaps the seams below.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ActivityLog.h"
#include "app/MainDialog.h"
#include "app/Messages.h"
#include "app/RunState.h"
#include "app/Settings.h"
#include "pipeline/WxViews.h"
#include "zip/RepairArchive.h"

class wxWindow;

namespace vz::app {

// What the program does for real and a test replaces.
struct DesktopSeams {
  // Every message box; null means the toolkit's boxes.
  IMessageService* messages = nullptr;
  // Ends the process at once with this code; empty means std::_Exit.
  std::function<void(int)> endProcessNow;
  // Opens a file or a page with the desktop's default application.
  std::function<void(const std::string&)> openFile;
  std::function<void(const std::string&)> openPage;
  std::function<std::optional<std::string>(wxWindow*)> chooseFolder;
  std::function<void()> pace;
  // The local time of the log's header and the folders' names; empty: now.
  std::function<std::tm()> clock;
  // Called once while the start-up splash is fully shown.
  std::function<void(wxWindow*)> splashShown;
};

class CDesktopSession {
 public:
  CDesktopSession(CSettingsStore settings, DesktopSeams seams);
  ~CDesktopSession();
  CDesktopSession(const CDesktopSession&) = delete;
  CDesktopSession& operator=(const CDesktopSession&) = delete;

  // Makes and shows the main dialog with these archives already listed.
  CMainDialog* ShowMainDialog(const std::vector<std::string>& archives);

  CActivityLog& Log() { return *log_; }
  RunState& State() { return state_; }
  const CSettingsStore& Settings() const { return settings_; }

 private:
  void OpenHelp();
  void ShowAbout();

  CSettingsStore settings_;
  DesktopSeams seams_;
  std::unique_ptr<IMessageService> ownMessages_;
  IMessageService* messages_ = nullptr;
  std::unique_ptr<CActivityLog> log_;
  RunState state_;
  CScanContext context_;
  std::unique_ptr<CRepairArchive> archive_;
  std::unique_ptr<pipeline::RepairServices> services_;
  CMainDialog* mainDialog_ = nullptr;
};

}  // namespace vz::app
