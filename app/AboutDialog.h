#pragma once

#include <wx/dialog.h>

#include <functional>

#include "app/Settings.h"

namespace vz::app {

// "About Velmora for Zip": version, and links to the help page; the two mail
// links stay inert.
class CAboutDialog : public wxDialog {
 public:
  CAboutDialog(wxWindow* parent, const CAppFolders& folders, std::function<void()> openHelp);
};

}  // namespace vz::app
