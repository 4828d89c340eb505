#pragma once

// The repair dialogs' wxWidgets views: thin windows over the toolkit-free
// controllers, at the template positions the skins are painted for.

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include <functional>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "pipeline/AnalysisPass.h"
#include "pipeline/DialogControllers.h"
#include "pipeline/PreviewController.h"
#include "pipeline/SavingPass.h"
#include "pipeline/UiBridge.h"

namespace vz::pipeline {

// Hands calls to the UI thread through a window's event queue; calls still
// queued when the window goes are dropped with it.
class CWxUiDispatcher : public IUiDispatcher {
 public:
  explicit CWxUiDispatcher(wxEvtHandler* owner) : owner_(owner) {}
  void Post(std::function<void()> call) override { owner_->CallAfter(std::move(call)); }

 private:
  wxEvtHandler* owner_;
};

// What the repair windows share for one run.
struct RepairServices {
  RepairServices(CRepairArchive& a, CScanContext& c, app::IMessageService& m, app::CActivityLog& l,
                 app::RunState& s, std::function<void(int)> end)
      : archive(a), context(c), messages(m), log(l), state(s), endProcessNow(std::move(end)) {}

  CRepairArchive& archive;
  CScanContext& context;
  app::IMessageService& messages;
  app::CActivityLog& log;
  app::RunState& state;
  std::function<void(int)> endProcessNow;
  // Opens a file with the desktop's default application (the log).
  std::function<void(const std::string&)> openFile;
  // Runs a menu command that belongs to the main dialog (View Log, Clear
  // Log, Contents, About), which the Preview forwards.
  std::function<void(int menuId)> forwardMenu;
  // The folder browser; empty means the toolkit's own.
  std::function<std::optional<std::string>(wxWindow* parent)> chooseFolder;
  // Called on the worker at every checkpoint of a pass; empty in the
  // program. The GUI test slows a pass with it so that its dialog is seen.
  std::function<void()> pace;
  // Where the skins and the icons are.
  app::CAppFolders folders;
  // The local time that names the destination folders; empty means now.
  std::function<std::tm()> clock;
  int analysisStall = 0;
  int savingStall = 0;
};

// Runs the Preview modally (a frame, since it carries the menu); returns when
// it closes.
void RunPreview(wxWindow* parent, RepairServices& services);

}  // namespace vz::pipeline
