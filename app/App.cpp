// velmora-zip: the desktop program.
#include <wx/app.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include <cstdlib>
#include <memory>

#include "DesktopSession.h"
#include "WxMessageService.h"

namespace vz::app {

class CVelmoraApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;

 private:
  std::unique_ptr<wxSingleInstanceChecker> instance_;
  std::unique_ptr<wxSingleInstanceChecker> notice_;
  std::unique_ptr<CDesktopSession> session_;
};

bool CVelmoraApp::OnInit() {
  SetAppName("velmora-zip");
  // One copy at a time. A second copy shows one notice; a third started
  // while that notice stands ends silently. Both end with exit code 0.
  instance_ = std::make_unique<wxSingleInstanceChecker>("velmora-zip-" + wxGetUserId());
  if (instance_->IsAnotherRunning()) {
    notice_ = std::make_unique<wxSingleInstanceChecker>("velmora-zip-notice-" + wxGetUserId());
    if (!notice_->IsAnotherRunning()) {
      CWxMessageService messages;
      messages.Show({"Another instance of program is already running", std::string(kMessageCaption),
                     MessageIcon::Information, MessageButtons::Ok, true});
    }
    std::exit(0);
  }
  session_ = std::make_unique<CDesktopSession>(CSettingsStore(), DesktopSeams{});
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) given.push_back(wxString(argv[i]).utf8_string());
  SetTopWindow(session_->ShowMainDialog(given));
  return true;
}

int CVelmoraApp::OnExit() {
  session_.reset();
  instance_.reset();
  return 0;
}

}  // namespace vz::app

wxIMPLEMENT_APP(vz::app::CVelmoraApp);
