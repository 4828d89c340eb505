#include "MainDialog.h"

#include <wx/filedlg.h>
#include <wx/stattext.h>

#include "app/Settings.h"
#include "app/WxShared.h"
#include "widgets/AppIcons.h"
#include "widgets/SkinBackground.h"
#include "zip/ScanContext.h"

namespace vz::app {
namespace {

enum ControlId : int {
  kListId = 1000,
  kBrowseId = 1001,
  kClearAllId = 1002,
  kSkipPreviewId = 1004,
  kRepairId = 1005,
  kClearSelectedId = 1026,
  kQuickId = 1039,
  kAdvanceId = 1040,
};

}  // namespace

CMainDialog::CMainDialog(IMessageService& messages, CActivityLog& log, RunState& state, const CAppFolders& folders,
                         MainDialogActions actions)
    : wxFrame(nullptr, wxID_ANY, Utf8(std::string(kWindowTitle)), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX, "main") {
  const DialogUnits l(this);
  auto* panel = new wxPanel(this);
  SetClientSize(l.Size(484, 292));
  panel->SetSize(GetClientSize());
  widgets::PaintSkin(panel, widgets::LoadSkin(folders.SkinFolder, "Browse.bmp"));
  widgets::ApplyAppIcons(this, folders.InstallFolder);

  new wxStaticText(panel, wxID_ANY, "Select File(s)      :", l.At(13, 58), l.Size(60, 18));
  list_ = new wxListCtrl(panel, kListId, l.At(78, 58), l.Size(330, 108),
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);
  list_->InsertColumn(0, " File No.", wxLIST_FORMAT_LEFT, 60);
  list_->InsertColumn(1, " File Name", wxLIST_FORMAT_LEFT, 500);
  new wxButton(panel, kBrowseId, "Browse", l.At(417, 116), l.Size(53, 14));
  clearSelected_ = new wxButton(panel, kClearSelectedId, "Clear selected", l.At(417, 134), l.Size(53, 14));
  clearAll_ = new wxButton(panel, kClearAllId, "Clear All", l.At(416, 152), l.Size(53, 14));
  new wxStaticText(panel, wxID_ANY, "Repair Mode      :", l.At(13, 183), l.Size(69, 14));
  quick_ = new wxRadioButton(panel, kQuickId, "Quick Repair", l.At(79, 183), l.Size(56, 10), wxRB_GROUP);
  advance_ = new wxRadioButton(panel, kAdvanceId, "Advance Repair", l.At(79, 201), l.Size(67, 10));
  new wxStaticText(panel, wxID_ANY, "Skip Perview      :   ", l.At(11, 231), l.Size(67, 12));
  skipPreview_ = new wxCheckBox(panel, kSkipPreviewId, "", l.At(79, 232), l.Size(8, 8));
  // The box alone needs a little more room than the template gives it here.
  wxSize box = skipPreview_->GetSize();
  box.IncTo(skipPreview_->GetBestSize());
  skipPreview_->SetSize(box);
  new wxStaticText(panel, wxID_ANY, "Recommended  for  multiple files repairing", l.At(90, 231), l.Size(246, 18));
  repair_ = new wxButton(panel, kRepairId, "Repair", l.At(416, 264), l.Size(50, 14));
  menu_ = BuildAppMenu();
  SetMenuBar(menu_);

  controller_ = std::make_unique<CMainDialogController>(*this, messages, log, state, std::move(actions));

  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); }, kBrowseId);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->ClearSelected(); }, kClearSelectedId);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->ClearAll(); }, kClearAllId);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->Repair(); }, kRepairId);
  Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { controller_->ModeChosen(kQuickRepair); }, kQuickId);
  Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { controller_->ModeChosen(kAdvanceRepair); }, kAdvanceId);
  Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { controller_->SkipPreviewClicked(e.IsChecked()); }, kSkipPreviewId);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnBrowse(); }, kMenuSelectFile);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->ExitMenu(); }, kMenuExit);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->ModeChosen(kQuickRepair); }, kMenuQuick);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->ModeChosen(kAdvanceRepair); }, kMenuAdvance);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->SkipPreviewMenu(); }, kMenuSkipPreview);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->ViewLog(); }, kMenuViewLog);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->ClearLog(); }, kMenuClearLog);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->About(); }, kMenuAbout);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->Help(); }, kMenuContents);
  Bind(wxEVT_HELP, [this](wxHelpEvent&) { controller_->Help(); });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
    if (e.CanVeto()) e.Veto();
    controller_->CloseRequested();
  });
  TakeKeys(this, {{WXK_ESCAPE, [this] { controller_->EscapePressed(); }}, {WXK_F1, [this] { controller_->Help(); }}});

  controller_->Initialise();
}

void CMainDialog::OnBrowse() {
  wxFileDialog dialog(this, " Open Zip files", "", "", "zip (*.zip;*.ZIP)|*.zip;*.ZIP",
                      wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  wxArrayString paths;
  dialog.GetPaths(paths);
  std::vector<std::string> chosen;
  for (const wxString& p : paths) chosen.push_back(p.utf8_string());
  controller_->AddFiles(chosen);
}

void CMainDialog::ShowRows(const std::vector<std::string>& paths) {
  list_->DeleteAllItems();
  for (std::size_t i = 0; i < paths.size(); ++i) {
    long row = list_->InsertItem(static_cast<long>(i), wxString::Format("%zu", i + 1));
    list_->SetItem(row, 1, Utf8(paths[i]));
  }
}

std::optional<std::size_t> CMainDialog::SelectedRow() const {
  long row = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void CMainDialog::EnableClearButtons(bool enabled) {
  clearSelected_->Enable(enabled);
  clearAll_->Enable(enabled);
}

void CMainDialog::EnableRepair(bool enabled) { repair_->Enable(enabled); }

void CMainDialog::CheckModeRadio(int mode) {
  quick_->SetValue(mode != kAdvanceRepair);
  advance_->SetValue(mode == kAdvanceRepair);
}

void CMainDialog::CheckSkipPreview(bool checked) { skipPreview_->SetValue(checked); }

void CMainDialog::EnableSaveMenuItems(bool enabled) {
  menu_->Enable(kMenuSaveCurrent, enabled);
  menu_->Enable(kMenuSaveAll, enabled);
}

void CMainDialog::SetVisible(bool visible) { Show(visible); }

void CMainDialog::EndDialog() { Destroy(); }

}  // namespace vz::app
