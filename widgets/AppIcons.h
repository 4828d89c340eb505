#pragma once

// The application's icon in every size we ship, for the captions and the
// task bar.

#include <string>

class wxTopLevelWindow;

namespace vz::widgets {

// Gives the window the icons found below the data folder: the build's
// icons/velmora-zip-<n>.png, or the installed theme's
// ../icons/hicolor/<n>x<n>/apps/velmora-zip.png. Missing icons are no error.
void ApplyAppIcons(wxTopLevelWindow* window, const std::string& dataFolder);

}  // namespace vz::widgets
