#pragma once

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include <memory>

#include "app/MainDialogController.h"
#include "app/Settings.h"

namespace vz::app {

// The main dialog's window (a frame, since it carries the menu): controls at
// the places the skins are painted for, every event handed to the controller.
class CMainDialog : public wxFrame, public IMainDialogView {
 public:
  CMainDialog(IMessageService& messages, CActivityLog& log, RunState& state, const CAppFolders& folders,
              MainDialogActions actions);

  // IMainDialogView
  void ShowRows(const std::vector<std::string>& paths) override;
  std::optional<std::size_t> SelectedRow() const override;
  void EnableClearButtons(bool enabled) override;
  void EnableRepair(bool enabled) override;
  void CheckModeRadio(int mode) override;
  void CheckSkipPreview(bool checked) override;
  void EnableSaveMenuItems(bool enabled) override;
  void SetVisible(bool visible) override;
  void EndDialog() override;

  CMainDialogController& Controller() { return *controller_; }

 private:
  void OnBrowse();

  std::unique_ptr<CMainDialogController> controller_;
  wxListCtrl* list_ = nullptr;
  wxButton* clearSelected_ = nullptr;
  wxButton* clearAll_ = nullptr;
  wxButton* repair_ = nullptr;
  wxRadioButton* quick_ = nullptr;
  wxRadioButton* advance_ = nullptr;
  wxCheckBox* skipPreview_ = nullptr;
  wxMenuBar* menu_ = nullptr;
};

}  // namespace vz::app
