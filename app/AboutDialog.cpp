#include "AboutDialog.h"

#include <wx/button.h>
#include <wx/stattext.h>

#include "app/WxShared.h"
#include "widgets/AppIcons.h"
#include "widgets/SkinBackground.h"
#include "widgets/UrlLinkButton.h"

namespace vz::app {

CAboutDialog::CAboutDialog(wxWindow* parent, const CAppFolders& folders, std::function<void()> openHelp)
    : wxDialog(parent, wxID_ANY, "About Velmora for Zip", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, "about") {
  const DialogUnits l(this);
  SetClientSize(l.Size(267, 190));
  widgets::PaintSkin(this, widgets::LoadSkin(folders.SkinFolder, "about.bmp"));
  widgets::ApplyAppIcons(this, folders.InstallFolder);
  new wxStaticText(this, wxID_ANY, "Version 2.0", l.At(100, 60), l.Size(80, 10));
  new wxStaticText(this, wxID_ANY, "Websites :", l.At(40, 90), l.Size(50, 10));
  new wxStaticText(this, wxID_ANY, "Sales       :", l.At(40, 110), l.Size(50, 10));
  new wxStaticText(this, wxID_ANY, "Support   :", l.At(40, 130), l.Size(50, 10));
  auto* site = new widgets::CURLLinkButton(this, 1027, "User manual", l.At(95, 89), l.Size(140, 11));
  // No mail addresses to offer: the two mail links are shown, greyed.
  new widgets::CURLLinkButton(this, 1028, "sales", l.At(95, 109), l.Size(140, 11));
  new widgets::CURLLinkButton(this, 1029, "support", l.At(95, 129), l.Size(140, 11));
  FindWindow(1028)->Disable();
  FindWindow(1029)->Disable();
  new wxButton(this, 1031, "OK", l.At(108, 165), l.Size(50, 14));
  Bind(wxEVT_BUTTON, [site, openHelp](wxCommandEvent&) {
    if (openHelp) openHelp();
    site->SetVisited();
  }, 1027);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1031);
}

}  // namespace vz::app
