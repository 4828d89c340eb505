#include "DesktopSession.h"

#include <wx/app.h>
#include <wx/utils.h>

#include <cstdlib>

#include "AboutDialog.h"
#include "HelpPage.h"
#include "WxMessageService.h"
#include "widgets/SplashScreen.h"

namespace vz::app {

CDesktopSession::CDesktopSession(CSettingsStore settings, DesktopSeams seams)
    : settings_(std::move(settings)), seams_(std::move(seams)) {
  if (!seams_.endProcessNow) seams_.endProcessNow = [](int code) { std::_Exit(code); };
  if (!seams_.openFile) {
    seams_.openFile = [](const std::string& path) { wxLaunchDefaultApplication(wxString::FromUTF8(path)); };
  }
  if (!seams_.openPage) {
    seams_.openPage = [](const std::string& path) { wxLaunchDefaultBrowser("file://" + wxString::FromUTF8(path)); };
  }
  messages_ = seams_.messages;
  if (!messages_) {
    ownMessages_ = std::make_unique<CWxMessageService>();
    messages_ = ownMessages_.get();
  }
  log_ = std::make_unique<CActivityLog>(settings_);
  archive_ = std::make_unique<CRepairArchive>(context_);
  services_ = std::make_unique<pipeline::RepairServices>(*archive_, context_, *messages_, *log_, state_,
                                                        seams_.endProcessNow);
  services_->openFile = seams_.openFile;
  services_->chooseFolder = seams_.chooseFolder;
  services_->pace = seams_.pace;
  services_->clock = seams_.clock;
  // The Preview carries the main dialog's menu and hands it these commands.
  services_->forwardMenu = [this](int id) {
    if (!mainDialog_) return;
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(mainDialog_);
    mainDialog_->GetEventHandler()->ProcessEvent(event);
  };
}

CDesktopSession::~CDesktopSession() = default;

void CDesktopSession::OpenHelp() {
  // A missing page does nothing.
  if (auto page = FindHelpPage(settings_)) seams_.openPage(page->string());
}

void CDesktopSession::ShowAbout() {
  wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
  CAboutDialog about(parent, CAppFolders::Load(settings_), [this] { OpenHelp(); });
  about.ShowModal();
}

CMainDialog* CDesktopSession::ShowMainDialog(const std::vector<std::string>& archives) {
  MainDialogActions actions;
  actions.openLogFile = seams_.openFile;
  actions.endProcessNow = seams_.endProcessNow;
  actions.clock = seams_.clock;
  actions.openHelp = [this] { OpenHelp(); };
  actions.showAbout = [this] { ShowAbout(); };
  actions.runPreview = [this] {
    context_.RepairMode = state_.RepairMode;
    pipeline::RunPreview(nullptr, *services_);
  };
  const CAppFolders folders = CAppFolders::Load(settings_);
  services_->folders = folders;
  // The splash stands while the main dialog is being made, before it shows.
  widgets::ShowStartupSplash(folders.SkinFolder, seams_.splashShown);
  mainDialog_ = new CMainDialog(*messages_, *log_, state_, folders, std::move(actions));
  if (ownMessages_) static_cast<CWxMessageService*>(ownMessages_.get())->SetParent(mainDialog_);
  // Archives named at start-up come first in the list, as if browsed.
  if (!archives.empty()) mainDialog_->Controller().AddFiles(archives);
  mainDialog_->Show();
  return mainDialog_;
}

}  // namespace vz::app
