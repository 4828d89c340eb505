#include "WxShared.h"

namespace vz::app {

wxMenuBar* BuildAppMenu() {
  auto* file = new wxMenu;
  file->Append(kMenuSelectFile, "Select File");
  file->Append(kMenuSaveCurrent, "Save Current File");
  file->Append(kMenuSaveAll, "Save All");
  file->Append(kMenuExit, "Exit");
  auto* mode = new wxMenu;
  mode->Append(kMenuQuick, "Quick Repair");
  mode->Append(kMenuAdvance, "Advance Repair");
  auto* option = new wxMenu;
  option->AppendSubMenu(mode, "Repair Mode");
  option->Append(kMenuSkipPreview, "Skip Preview");
  option->Append(kMenuViewLog, "View Log");
  option->Append(kMenuClearLog, "Clear Log");
  auto* help = new wxMenu;
  help->Append(kMenuAbout, "About Us ");
  help->Append(kMenuContents, "Contents");
  auto* bar = new wxMenuBar;
  bar->Append(file, "File");
  bar->Append(option, "Option");
  bar->Append(help, "Help");
  return bar;
}

void TakeKeys(wxWindow* window, std::map<int, std::function<void()>> handlers) {
  window->Bind(wxEVT_CHAR_HOOK, [handlers = std::move(handlers)](wxKeyEvent& event) {
    auto it = handlers.find(event.GetKeyCode());
    if (it == handlers.end()) {
      event.Skip();
      return;
    }
    it->second();
  });
}

}  // namespace vz::app
