#pragma once

// What the desktop program's windows share: the one menu that the main
// dialog and the Preview both carry, and keys taken before a window's own
// key handling.

#include <wx/menu.h>
#include <wx/window.h>

#include <functional>
#include <map>
#include <string>

namespace vz::app {

// The menu's commands, numbered as the resource numbers them less 10000:
// the toolkit takes command ids below 0x7FFF only.
inline constexpr int kMenuIdShift = 10000;
enum MenuId : int {
  kMenuSelectFile = 32771 - kMenuIdShift,
  kMenuSaveCurrent = 32775 - kMenuIdShift,
  kMenuSaveAll = 32776 - kMenuIdShift,
  kMenuExit = 32777 - kMenuIdShift,
  kMenuSkipPreview = 32778 - kMenuIdShift,
  kMenuViewLog = 32779 - kMenuIdShift,
  kMenuAbout = 32785 - kMenuIdShift,
  kMenuContents = 32786 - kMenuIdShift,
  kMenuClearLog = 32788 - kMenuIdShift,
  kMenuQuick = 32790 - kMenuIdShift,
  kMenuAdvance = 32791 - kMenuIdShift,
};

wxMenuBar* BuildAppMenu();

inline wxString Utf8(const std::string& s) { return wxString::FromUTF8(s); }

// Places in dialog units, as the skins are painted for them.
struct DialogUnits {
  explicit DialogUnits(wxWindow* w) : window(w) {}
  wxPoint At(int x, int y) const { return window->ConvertDialogToPixels(wxPoint(x, y)); }
  wxSize Size(int w, int h) const { return window->ConvertDialogToPixels(wxSize(w, h)); }
  wxWindow* window;
};

// Each listed key (WXK_ESCAPE, WXK_F1, ...) runs its handler and goes no
// further; every other key takes its normal course.
void TakeKeys(wxWindow* window, std::map<int, std::function<void()>> handlers);

}  // namespace vz::app
