#include "AboutDialog.h"

#include <wx/button.h>
#include <wx/stattext.h>

#include "widgets/AppIcons.h"
#include "widgets/SkinBackground.h"
#include "widgets/UrlLinkButton.h"

namespace vz::app {

CAboutDialog::CAboutDialog(wxWindow* parent, const CAppFolders& folders, std::function<void()> openHelp)
    : wxDialog(parent, wxID_ANY, "About Velmora for Zip", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, "about") {
  auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };
  SetClientSize(size(267, 190));
  widgets::PaintSkin(this, widgets::LoadSkin(folders.SkinFolder, "about.bmp"));
  widgets::ApplyAppIcons(this, folders.InstallFolder);
  new wxStaticText(this, wxID_ANY, "Version 2.0", at(100, 60), size(80, 10));
  new wxStaticText(this, wxID_ANY, "Websites :", at(40, 90), size(50, 10));
  new wxStaticText(this, wxID_ANY, "Sales       :", at(40, 110), size(50, 10));
  new wxStaticText(this, wxID_ANY, "Support   :", at(40, 130), size(50, 10));
  auto* site = new widgets::CURLLinkButton(this, 1027, "User manual", at(95, 89), size(140, 11));
  // No mail addresses to offer: the two mail links are shown, greyed.
  new widgets::CURLLinkButton(this, 1028, "sales", at(95, 109), size(140, 11));
  new widgets::CURLLinkButton(this, 1029, "support", at(95, 129), size(140, 11));
  FindWindow(1028)->Disable();
  FindWindow(1029)->Disable();
  new wxButton(this, 1031, "OK", at(108, 165), size(50, 14));
  Bind(wxEVT_BUTTON, [site, openHelp](wxCommandEvent&) {
    if (openHelp) openHelp();
    site->SetVisited();
  }, 1027);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1031);
}

}  // namespace vz::app
