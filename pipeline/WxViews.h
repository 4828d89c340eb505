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
#include <memory>

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
  CRepairArchive& archive;
  CScanContext& context;
  app::IMessageService& messages;
  app::CActivityLog& log;
  app::RunState& state;
  std::function<void(int)> endProcessNow;
  int analysisStall = 0;
  int savingStall = 0;
};

// Runs the Preview modally (a frame, since it carries the menu); returns when
// it closes.
void RunPreview(wxWindow* parent, RepairServices& services);

}  // namespace vz::pipeline
