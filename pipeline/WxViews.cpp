#include "WxViews.h"

#include <wx/checkbox.h>
#include <wx/dirdlg.h>
#include <wx/evtloop.h>
#include <wx/panel.h>
#include <wx/clipbrd.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/LogBlocks.h"
#include "app/Settings.h"
#include "app/WxShared.h"
#include "widgets/AppIcons.h"
#include "widgets/SkinBackground.h"
#include "widgets/TextProgressCtrl.h"
#include "widgets/TransparentStatic.h"

namespace vz::pipeline {
namespace {

using app::DialogUnits;
using app::Utf8;

wxString Title() { return Utf8(std::string(app::kWindowTitle)); }

// The shaped windows cut away every pixel of this colour of their skin.
const wxColour kShapeColour(0, 255, 0);

enum class Outline { Rectangle, FromSkin };

// Dresses a window: its skin as the background, shaped by the skin if asked,
// the program's icons.
void Dress(wxTopLevelWindow* window, wxWindow* background, const RepairServices& services, const char* skinFile,
           Outline outline = Outline::Rectangle) {
  const wxBitmap skin = widgets::LoadSkin(services.folders.SkinFolder, skinFile);
  widgets::PaintSkin(background, skin);
  if (outline == Outline::FromSkin) widgets::ShapeFromSkin(window, skin, kShapeColour);
  widgets::ApplyAppIcons(window, services.folders.InstallFolder);
}

// Lets a test's pacing run at every checkpoint of a pass; passes the gate
// through untouched when there is none.
class CPacedGate : public IJobGate {
 public:
  CPacedGate(IJobGate& gate, const std::function<void()>& pace) : gate_(gate), pace_(pace) {}
  void Checkpoint() override {
    if (pace_) pace_();
    gate_.Checkpoint();
  }

 private:
  IJobGate& gate_;
  const std::function<void()>& pace_;
};

// ------------------------------------------------------- progress dialogs --

// What the Analysis and File Saving dialogs share: the worker that runs the
// pass, the bridge that brings its reports to this thread, and the wiring of
// Pause, Stop and Escape to the controller. A derived dialog must stop the
// runner in its own destructor, before the reporter the pass writes to goes.
class CPassDialog : public wxDialog, public IProgressDialogView {
 public:
  void SetPauseLabel(const std::string& text) override { pause_->SetLabel(Utf8(text)); }
  void SetVisible(bool visible) override { Show(visible); }
  void Close() override {
    if (IsModal()) EndModal(closeCode_);
  }

 protected:
  CPassDialog(wxWindow* parent, RepairServices& services, long style, const char* name, int closeCode)
      : wxDialog(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize, style, name),
        services_(services),
        dispatcher_(this),
        bridge_(dispatcher_, runner_.Control()),
        closeCode_(closeCode) {}

  // Hands the two buttons and Escape to the controller, and starts the pass
  // once the dialog is up. A resumed pass's held reports show at once.
  template <class Controller>
  void Wire(Controller& controller, int pauseId, int stopId, std::function<void(IJobGate&)> runPass) {
    pause_ = FindWindow(pauseId);
    Bind(wxEVT_BUTTON, [this, &controller](wxCommandEvent&) {
      controller.PauseClicked();
      if (!runner_.IsPaused()) bridge_.Flush();
    }, pauseId);
    Bind(wxEVT_BUTTON, [&controller](wxCommandEvent&) { controller.StopClicked(); }, stopId);
    app::TakeKeys(this, {{WXK_ESCAPE, [&controller] { controller.EscapePressed(); }}});
    Bind(wxEVT_INIT_DIALOG, [this, &controller, runPass = std::move(runPass)](wxInitDialogEvent& e) {
      e.Skip();
      controller.Initialise([this, runPass](IJobGate& gate) {
        CPacedGate paced(gate, services_.pace);
        runPass(paced);
      });
    });
  }

  RepairServices& services_;
  CPassRunner runner_;
  CWxUiDispatcher dispatcher_;
  CUiBridge bridge_;

 private:
  wxWindow* pause_ = nullptr;
  int closeCode_;
};

// --------------------------------------------------------------- analysis --

class CAnalysisDialog : public CPassDialog {
 public:
  CAnalysisDialog(wxWindow* parent, RepairServices& services, IAnalysisReporter& preview, int fileNumber)
      : CPassDialog(parent, services, wxDEFAULT_DIALOG_STYLE, "analysis", wxID_CANCEL),
        preview_(preview),
        fileNumber_(fileNumber),
        reporter_(bridge_),
        controller_(*this, services.messages, runner_, services.archive, services.context, services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(214, 97));
    Dress(this, this, services, "analysis.bmp");
    new wxButton(this, 1027, "Pause", l.At(109, 77), l.Size(50, 14));
    new wxButton(this, 1026, "Stop", l.At(54, 77), l.Size(50, 14));
    auto* note = new wxStaticText(this, wxID_ANY, "Analysis is in Progress, Please  wait .....", l.At(40, 38),
                                  l.Size(128, 8));
    // The template's width was made for a smaller font; never cut the text.
    note->SetSize(std::max(note->GetSize().x, note->GetBestSize().x), note->GetSize().y);
    bar_ = new widgets::CTextProgressCtrl(this, 1024, l.At(40, 50), l.Size(132, 12));
    bar_->SetRange(0, 100);

    CUiBridge::Target target;
    target.value = [this](int, int value) { bar_->SetPos(value); };
    target.text = [this](int, const std::string& text) { preview_.SetListedCount(text); };
    target.rows = [this](const std::vector<EntryRow>& rows) {
      for (const auto& row : rows) preview_.AddRow(row);
    };
    target.clearRows = [this] { preview_.ClearRows(); };
    target.message = [this](const UserMessage& m) {
      services_.messages.Show({m.text, m.caption, m.icon, app::MessageButtons::Ok, true});
    };
    target.finished = [this] { controller_.PassFinished(); };
    bridge_.SetTarget(std::move(target));

    Bind(wxEVT_HELP, [](wxHelpEvent&) {});
    Wire(controller_, 1027, 1026, [this, files = services.state.SourceFileList](IJobGate& gate) {
      CAnalysisPass pass(services_.archive, services_.context, services_.log, reporter_, gate,
                         services_.analysisStall);
      pass.Run(files, fileNumber_);
    });
  }
  ~CAnalysisDialog() override { runner_.Stop(); }

 private:
  IAnalysisReporter& preview_;
  int fileNumber_;
  CBridgedAnalysisReporter reporter_;
  CAnalysisDialogController controller_;
  widgets::CTextProgressCtrl* bar_ = nullptr;
};

// ------------------------------------------------------------ completion --

class CCompletionDialog : public wxDialog {
 public:
  CCompletionDialog(wxWindow* parent, RepairServices& services)
      : wxDialog(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxFRAME_SHAPED,
                 "completion"),
        controller_(services.messages, services.log, services.openFile, services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(200, 80));
    Dress(this, this, services, "view-log.bmp", Outline::FromSkin);
    new wxStaticText(this, wxID_ANY, "Saving Completed Successfully", l.At(40, 15), l.Size(140, 10));
    viewLog_ = new wxCheckBox(this, 1025, "View Log File", l.At(40, 35), l.Size(120, 10));
    new wxButton(this, 1026, "OK", l.At(75, 58), l.Size(50, 14));
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_.OkClicked(viewLog_->IsChecked()); }, 1026);
    app::TakeKeys(this, {{WXK_ESCAPE, [this] { controller_.EscapePressed(); }}});
    controller_.Initialise();
  }

 private:
  CCompletionController controller_;
  wxCheckBox* viewLog_ = nullptr;
};

// ----------------------------------------------------------- file saving --

class CFileSavingDialog : public CPassDialog {
 public:
  CFileSavingDialog(wxWindow* parent, RepairServices& services, SavingRequest request)
      : CPassDialog(parent, services, wxDEFAULT_DIALOG_STYLE | wxFRAME_SHAPED, "file-saving", wxID_OK),
        request_(std::move(request)),
        reporter_(bridge_),
        controller_(*this, services.messages, runner_, services.log,
                    [this] {
                      CCompletionDialog completion(nullptr, services_);
                      completion.ShowModal();
                    },
                    services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(349, 209));
    Dress(this, this, services, "file-saving.bmp", Outline::FromSkin);
    auto label = [&](int id, const char* text, int x, int y, int w, int h) {
      return new widgets::CTransparentStatic2(this, id, text, l.At(x, y), l.Size(w, h));
    };
    label(wxID_ANY, "File Name  :", 20, 30, 50, 10);
    texts_[CBridgedSavingReporter::kFileName] = label(1018, "", 75, 30, 260, 10);
    label(wxID_ANY, "File Count :", 20, 48, 50, 10);
    texts_[CBridgedSavingReporter::kFileNumber] = label(1019, "", 75, 48, 20, 10);
    label(wxID_ANY, "/", 97, 48, 6, 10);
    texts_[CBridgedSavingReporter::kFileTotal] = label(1012, "", 105, 48, 30, 10);
    label(wxID_ANY, "File Path   :", 20, 66, 50, 10);
    texts_[CBridgedSavingReporter::kDestination] = label(1020, "", 75, 66, 260, 20);
    label(wxID_ANY, "Current Progress", 20, 95, 100, 10);
    bars_[0] = new widgets::CTextProgressCtrl(this, 1021, l.At(20, 107), l.Size(309, 12));
    label(wxID_ANY, "Overall Progress", 20, 127, 100, 10);
    bars_[1] = new widgets::CTextProgressCtrl(this, 1032, l.At(20, 139), l.Size(309, 12));
    for (auto* bar : bars_) bar->SetRange(0, 100);
    new wxButton(this, 1023, "Pause", l.At(230, 180), l.Size(50, 14));
    new wxButton(this, 1022, "Stop", l.At(285, 180), l.Size(50, 14));

    CUiBridge::Target target;
    target.value = [this](int slot, int value) { bars_[slot == 1 ? 1 : 0]->SetPos(value); };
    target.text = [this](int slot, const std::string& text) {
      if (slot >= 0 && slot < 4) texts_[slot]->SetLabel(Utf8(text));
    };
    target.finished = [this] {
      controller_.PassFinished({request_.saveCurrentFileOnly, services_.state.SourceFileCount});
    };
    bridge_.SetTarget(std::move(target));

    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
      if (e.CanVeto()) e.Veto();
      controller_.CloseRequested();
    });
    Wire(controller_, 1023, 1022, [this](IJobGate& gate) {
      CSavingPass pass(services_.archive, services_.context, services_.log, reporter_, gate, services_.savingStall,
                       services_.clock);
      pass.Run(request_);
    });
  }
  ~CFileSavingDialog() override { runner_.Stop(); }

 private:
  SavingRequest request_;
  CBridgedSavingReporter reporter_;
  CFileSavingController controller_;
  widgets::CTransparentStatic2* texts_[4] = {};
  widgets::CTextProgressCtrl* bars_[2] = {};
};

// ---------------------------------------------------------------- preview --

enum PreviewId : int {
  kEntryList = 1000,
  kBackFile = 1013,
  kNextFile = 1014,
  kBack = 1015,
  kSaveAll = 1016,
  kSaveCurrent = 1017,
};

class CPreviewFrame : public wxFrame, public IPreviewView, public IAnalysisReporter {
 public:
  CPreviewFrame(wxWindow* parent, RepairServices& services)
      : wxFrame(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize,
                wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX, "preview"),
        services_(services) {
    auto* panel = new wxPanel(this);
    DialogUnits l(this);
    SetClientSize(l.Size(484, 292));
    panel->SetSize(GetClientSize());
    Dress(this, panel, services, "preview.bmp");
    buttons_[0] = new wxButton(panel, kNextFile, "Next File", l.At(244, 244), l.Size(74, 14));
    buttons_[1] = new wxButton(panel, kBackFile, "Back File", l.At(166, 244), l.Size(74, 14));
    buttons_[2] = new wxButton(panel, kSaveCurrent, "Save Current File", l.At(331, 266), l.Size(82, 14));
    buttons_[3] = new wxButton(panel, kSaveAll, "Save All", l.At(417, 266), l.Size(50, 14));
    buttons_[4] = new wxButton(panel, kBack, "Back", l.At(14, 266), l.Size(50, 14));
    auto label = [&](int id, const char* text, int x, int y, int w, int h, long style = 0) {
      return new widgets::CTransparentStatic(panel, id, text, l.At(x, y), l.Size(w, h), style);
    };
    labels_[0] = label(1044, "Source File Path    :", 17, 50, 66, 8);
    label(wxID_ANY, " File Number :", 16, 247, 47, 8);
    number_ = label(1012, "", 61, 247, 12, 8, wxALIGN_RIGHT);
    label(1036, "/", 76, 247, 8, 8);
    total_ = label(1033, "", 82, 247, 13, 8);
    path_ = label(1037, "", 83, 50, 385, 17);
    list_ = new wxListCtrl(panel, kEntryList, l.At(15, 79), l.Size(452, 157),
                           wxLC_REPORT | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);
    const char* headings[] = {"File Name", "UnCompressed File Size", "Compressed File Size", "Compression Ratio",
                              "Modified Time", "CRC 32"};
    const int widths[] = {200, 135, 125, 115, 100, 100};
    // The widths were chosen for a smaller font: a column is never narrower
    // than its heading, and the time column fits a whole time.
    const wxString widest[] = {"", "", "", "", "28 Sep 2026, 23:59:59", ""};
    for (int i = 0; i < 6; ++i) {
      const int fit = std::max(list_->GetTextExtent(headings[i]).x, list_->GetTextExtent(widest[i]).x) + FromDIP(12);
      list_->InsertColumn(i, headings[i], wxLIST_FORMAT_LEFT, std::max(widths[i], fit));
    }
    labels_[1] = label(1045, "Number Of Files Extracted :", 18, 66, 90, 12);
    listed_ = label(1043, "", 108, 65, 69, 12);

    // The main dialog's menu; what belongs to the main dialog alone is greyed.
    menu_ = app::BuildAppMenu();
    for (int id : {app::kMenuSelectFile, app::kMenuSkipPreview, app::kMenuQuick, app::kMenuAdvance}) {
      menu_->Enable(id, false);
    }
    SetMenuBar(menu_);

    PreviewActions actions;
    actions.runAnalysis = [this](int n) {
      CAnalysisDialog dialog(this, services_, *this, n);
      dialog.ShowModal();
    };
    actions.chooseFolder = [this]() -> std::optional<std::string> {
      if (services_.chooseFolder) return services_.chooseFolder(this);
      wxDirDialog dialog(this, "Select the Destination Path");
      if (dialog.ShowModal() != wxID_OK) return std::nullopt;
      return dialog.GetPath().utf8_string();
    };
    actions.runSaving = [this](bool currentOnly, const std::string& folder, int n) {
      SavingRequest request;
      request.sourceFiles = services_.state.SourceFileList;
      request.currentFileNumber = n;
      request.saveCurrentFileOnly = currentOnly;
      request.destination = folder;
      CFileSavingDialog dialog(nullptr, services_, std::move(request));
      dialog.ShowModal();
    };
    actions.endProcessNow = services.endProcessNow;
    controller_ = std::make_unique<CPreviewController>(*this, services.messages, services.log, services.state,
                                                       std::move(actions));

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->NextFile(); }, kNextFile);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->BackFile(); }, kBackFile);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->Back(); }, kBack);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->SaveCurrentFile(); }, kSaveCurrent);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_->SaveAll(); }, kSaveAll);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->SaveCurrentFile(); }, app::kMenuSaveCurrent);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->SaveAll(); }, app::kMenuSaveAll);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { controller_->MenuExit(); }, app::kMenuExit);
    for (int id : {app::kMenuViewLog, app::kMenuClearLog, app::kMenuContents, app::kMenuAbout}) {
      Bind(wxEVT_MENU, [this, id](wxCommandEvent&) { ForwardMenu(id); }, id);
    }
    Bind(wxEVT_HELP, [this](wxHelpEvent&) { ForwardMenu(app::kMenuContents); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
      if (e.CanVeto()) e.Veto();
      controller_->CloseRequested();
    });
    app::TakeKeys(this, {{WXK_ESCAPE, [this] { controller_->EscapePressed(); }},
                         {WXK_F1, [this] { ForwardMenu(app::kMenuContents); }}});
    list_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
      if (e.ControlDown() && e.GetKeyCode() == 'C') {
        CopySelectedRows();
        return;
      }
      e.Skip();
    });
    list_->Bind(wxEVT_RIGHT_DOWN, [](wxMouseEvent&) {});
    controller_->Initialise();
  }

  void RunModal() {
    wxWindowDisabler disabler(this);
    Show();
    CallAfter([this] { controller_->FirstShown(); });
    loop_ = std::make_unique<wxGUIEventLoop>();
    loop_->Run();
  }

  // IPreviewView
  void SetSourcePath(const std::string& t) override { path_->SetLabel(Utf8(t)); }
  void SetFileNumber(const std::string& t) override { number_->SetLabel(Utf8(t)); }
  void SetFileTotal(const std::string& t) override { total_->SetLabel(Utf8(t)); }
  void SetListedCount(const std::string& t) override { listed_->SetLabel(Utf8(t)); }
  std::size_t RowCount() const override { return static_cast<std::size_t>(list_->GetItemCount()); }
  void EnableBackFile(bool e) override { buttons_[1]->Enable(e); }
  void EnableNextFile(bool e) override { buttons_[0]->Enable(e); }
  void EnableSaveCurrent(bool e) override {
    buttons_[2]->Enable(e);
    menu_->Enable(app::kMenuSaveCurrent, e);
  }
  void EnableSaveAll(bool e) override { buttons_[3]->Enable(e); }
  void EnableBack(bool e) override { buttons_[4]->Enable(e); }
  void EnableSourceLabels(bool e) override {
    labels_[0]->Enable(e);
    labels_[1]->Enable(e);
  }
  void SetVisible(bool v) override { Show(v); }
  void Close() override {
    Hide();
    if (loop_) loop_->Exit();
  }

  // IAnalysisReporter, applied on the UI thread by the Analysis dialog.
  void SetBarPosition(int) override {}
  void ClearRows() override { list_->DeleteAllItems(); }
  void AddRow(const EntryRow& row) override {
    long item = list_->InsertItem(list_->GetItemCount(), Utf8(row.texts[0]));
    for (int c = 1; c < 6; ++c) list_->SetItem(item, c, Utf8(row.texts[static_cast<std::size_t>(c)]));
  }
  void ShowMessage(const UserMessage&) override {}
  void Finished() override {}

 private:
  void ForwardMenu(int id) {
    if (services_.forwardMenu) services_.forwardMenu(id);
  }

  void CopySelectedRows() {
    wxString text;
    for (long item = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item >= 0;
         item = list_->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
      for (int c = 0; c < 6; ++c) text << (c ? "\t" : "") << list_->GetItemText(item, c);
      text << "\n";
    }
    if (text.empty() || !wxTheClipboard->Open()) return;
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
  }

  RepairServices& services_;
  std::unique_ptr<CPreviewController> controller_;
  std::unique_ptr<wxGUIEventLoop> loop_;
  wxButton* buttons_[5] = {};
  widgets::CTransparentStatic* labels_[2] = {};
  widgets::CTransparentStatic* number_ = nullptr;
  widgets::CTransparentStatic* total_ = nullptr;
  widgets::CTransparentStatic* path_ = nullptr;
  widgets::CTransparentStatic* listed_ = nullptr;
  wxListCtrl* list_ = nullptr;
  wxMenuBar* menu_ = nullptr;
};

}  // namespace

void RunPreview(wxWindow* parent, RepairServices& services) {
  auto* frame = new CPreviewFrame(parent, services);
  frame->RunModal();
  frame->Destroy();
}

}  // namespace vz::pipeline
