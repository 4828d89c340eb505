#pragma once

// What the desktop program's windows share: the one menu that the main
// dialog and the Preview both carry, and keys taken before a window's own
// key handling.

#include <wx/menu.h>
#include <wx/window.h>

#include <functional>
#include <map>

namespace vz::app {

enum MenuId : int {
  kMenuSelectFile = 32771,
  kMenuSaveCurrent = 32775,
  kMenuSaveAll = 32776,
  kMenuExit = 32777,
  kMenuSkipPreview = 32778,
  kMenuViewLog = 32779,
  kMenuAbout = 32785,
  kMenuContents = 32786,
  kMenuClearLog = 32788,
  kMenuQuick = 32790,
  kMenuAdvance = 32791,
};

wxMenuBar* BuildAppMenu();

// Each listed key (WXK_ESCAPE, WXK_F1, ...) runs its handler and goes no
// further; every other key takes its normal course.
void TakeKeys(wxWindow* window, std::map<int, std::function<void()>> handlers);

}  // namespace vz::app
