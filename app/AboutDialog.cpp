#include "AboutDialog.h"

#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/stattext.h>

namespace vz::app {

CAboutDialog::CAboutDialog(wxWindow* parent, std::function<void()> openHelp)
    : wxDialog(parent, wxID_ANY, "About Velmora for Zip", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE,
               "about") {
  auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };
  SetClientSize(size(267, 190));
  new wxStaticText(this, wxID_ANY, "Version 2.0", at(100, 60), size(80, 10));
  new wxStaticText(this, wxID_ANY, "Websites :", at(40, 90), size(50, 10));
  new wxStaticText(this, wxID_ANY, "Sales       :", at(40, 110), size(50, 10));
  new wxStaticText(this, wxID_ANY, "Support   :", at(40, 130), size(50, 10));
  auto* site = new wxHyperlinkCtrl(this, 1027, "User manual", "", at(95, 90), size(140, 10));
  new wxStaticText(this, 1028, "sales", at(95, 110), size(140, 10));
  new wxStaticText(this, 1029, "support", at(95, 130), size(140, 10));
  new wxButton(this, 1031, "OK", at(108, 165), size(50, 14));
  site->Bind(wxEVT_HYPERLINK, [site, openHelp](wxHyperlinkEvent&) {
    if (openHelp) openHelp();
    site->SetVisited(true);
  });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1031);
}

}  // namespace vz::app
