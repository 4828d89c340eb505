// velmora-zip: the desktop program.
#include <wx/app.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include <cstdlib>
#include <memory>

#include "AboutDialog.h"
#include "HelpPage.h"
#include "MainDialog.h"
#include "WxMessageService.h"
#include "app/ActivityLog.h"
#include "app/Settings.h"
#include "pipeline/WxViews.h"
#include "zip/RepairArchive.h"

namespace vz::app {

class CVelmoraApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;

 private:
  std::unique_ptr<wxSingleInstanceChecker> instance_;
  std::unique_ptr<wxSingleInstanceChecker> notice_;
  CSettingsStore settings_;
  std::unique_ptr<CActivityLog> log_;
  RunState state_;
  CWxMessageService messages_;
  CScanContext context_;
  std::unique_ptr<CRepairArchive> archive_;
  std::unique_ptr<pipeline::RepairServices> services_;
};

bool CVelmoraApp::OnInit() {
  SetAppName("velmora-zip");
  // One copy at a time. A second copy shows one notice; a third started
  // while that notice stands ends silently. Both end with exit code 0.
  instance_ = std::make_unique<wxSingleInstanceChecker>("velmora-zip-" + wxGetUserId());
  if (instance_->IsAnotherRunning()) {
    notice_ = std::make_unique<wxSingleInstanceChecker>("velmora-zip-notice-" + wxGetUserId());
    if (!notice_->IsAnotherRunning()) {
      messages_.Show({"Another instance of program is already running", std::string(kMessageCaption),
                      MessageIcon::Information, MessageButtons::Ok, true});
    }
    std::exit(0);
  }
  log_ = std::make_unique<CActivityLog>(settings_);
  archive_ = std::make_unique<CRepairArchive>(context_);
  auto endNow = [](int code) { std::_Exit(code); };
  services_.reset(new pipeline::RepairServices{*archive_, context_, messages_, *log_, state_, endNow});
  MainDialogActions actions;
  actions.openLogFile = [](const std::string& path) { wxLaunchDefaultApplication(wxString::FromUTF8(path)); };
  actions.endProcessNow = endNow;
  // A missing page does nothing.
  auto openHelp = [this] {
    if (auto page = FindHelpPage(settings_)) wxLaunchDefaultBrowser("file://" + wxString::FromUTF8(page->string()));
  };
  actions.openHelp = openHelp;
  actions.showAbout = [openHelp] {
    CAboutDialog about(wxTheApp->GetTopWindow(), openHelp);
    about.ShowModal();
  };
  CMainDialog* dialog = nullptr;
  actions.runPreview = [this] {
    context_.RepairMode = state_.RepairMode;
    pipeline::RunPreview(nullptr, *services_);
  };
  dialog = new CMainDialog(messages_, *log_, state_, std::move(actions));
  messages_.SetParent(dialog);
  // Archives named on the command line start in the list, as if browsed.
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) given.push_back(wxString(argv[i]).utf8_string());
  if (!given.empty()) dialog->Controller().AddFiles(given);
  dialog->Show();
  SetTopWindow(dialog);
  return true;
}

int CVelmoraApp::OnExit() {
  instance_.reset();
  return 0;
}

}  // namespace vz::app

wxIMPLEMENT_APP(vz::app::CVelmoraApp);
