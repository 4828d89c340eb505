#include "WxViews.h"

#include <wx/checkbox.h>
#include <wx/dirdlg.h>
#include <wx/evtloop.h>
#include <wx/panel.h>
#include <wx/clipbrd.h>
#include <wx/utils.h>

#include "app/LogBlocks.h"
#include "app/Settings.h"
#include "app/WxShared.h"

namespace vz::pipeline {
namespace {

wxString Utf8(const std::string& s) { return wxString::FromUTF8(s); }
wxString Title() { return Utf8(std::string(app::kWindowTitle)); }

// Places in dialog units, as the skins are painted for them.
struct DialogUnits {
  explicit DialogUnits(wxWindow* w) : window(w) {}
  wxPoint At(int x, int y) const { return window->ConvertDialogToPixels(wxPoint(x, y)); }
  wxSize Size(int w, int h) const { return window->ConvertDialogToPixels(wxSize(w, h)); }
  wxWindow* window;
};

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

// --------------------------------------------------------------- analysis --

class CAnalysisDialog : public wxDialog, public IProgressDialogView {
 public:
  CAnalysisDialog(wxWindow* parent, RepairServices& services, IAnalysisReporter& preview, int fileNumber)
      : wxDialog(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE, "analysis"),
        services_(services),
        preview_(preview),
        fileNumber_(fileNumber),
        dispatcher_(this),
        bridge_(dispatcher_, runner_.Control()),
        reporter_(bridge_),
        controller_(*this, services.messages, runner_, services.archive, services.context, services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(214, 97));
    pause_ = new wxButton(this, 1027, "Pause", l.At(109, 77), l.Size(50, 14));
    new wxButton(this, 1026, "Stop", l.At(54, 77), l.Size(50, 14));
    new wxStaticText(this, wxID_ANY, "Analysis is in Progress, Please  wait .....", l.At(40, 38), l.Size(128, 8));
    bar_ = new wxGauge(this, 1024, 100, l.At(40, 50), l.Size(132, 12));

    CUiBridge::Target target;
    target.value = [this](int, int value) { bar_->SetValue(std::clamp(value, 0, 100)); };
    target.text = [this](int, const std::string& text) { preview_.SetListedCount(text); };
    target.rows = [this](const std::vector<EntryRow>& rows) {
      for (const auto& row : rows) preview_.AddRow(row);
    };
    target.clearRows = [this] { preview_.ClearRows(); };
    target.message = [this](const UserMessage& m) {
      services_.messages.Show({m.text, m.caption,
                               m.icon == MessageIcon::Question ? app::MessageIcon::Question
                                                               : app::MessageIcon::Information,
                               app::MessageButtons::Ok, true});
    };
    target.finished = [this] { controller_.PassFinished(); };
    bridge_.SetTarget(std::move(target));

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
      controller_.PauseClicked();
      if (!runner_.IsPaused()) bridge_.Flush();
    }, 1027);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_.StopClicked(); }, 1026);
    app::TakeKeys(this, {{WXK_ESCAPE, [this] { controller_.EscapePressed(); }}});
    Bind(wxEVT_HELP, [](wxHelpEvent&) {});
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
      e.Skip();
      std::vector<std::string> files = services_.state.SourceFileList;
      controller_.Initialise([this, files](IJobGate& gate) {
        CPacedGate paced(gate, services_.pace);
        CAnalysisPass pass(services_.archive, services_.context, services_.log, reporter_, paced,
                           services_.analysisStall);
        pass.Run(files, fileNumber_);
      });
    });
  }
  ~CAnalysisDialog() override { runner_.Stop(); }

  void SetPauseLabel(const std::string& text) override { pause_->SetLabel(Utf8(text)); }
  void SetVisible(bool visible) override { Show(visible); }
  void Close() override {
    if (IsModal()) EndModal(wxID_CANCEL);
  }

 private:
  RepairServices& services_;
  IAnalysisReporter& preview_;
  int fileNumber_;
  CPassRunner runner_;
  CWxUiDispatcher dispatcher_;
  CUiBridge bridge_;
  CBridgedAnalysisReporter reporter_;
  CAnalysisDialogController controller_;
  wxButton* pause_ = nullptr;
  wxGauge* bar_ = nullptr;
};

// ------------------------------------------------------------ completion --

class CCompletionDialog : public wxDialog {
 public:
  CCompletionDialog(wxWindow* parent, RepairServices& services)
      : wxDialog(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE, "completion"),
        controller_(services.messages, services.log, services.openFile, services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(200, 80));
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

class CFileSavingDialog : public wxDialog, public IProgressDialogView {
 public:
  CFileSavingDialog(wxWindow* parent, RepairServices& services, SavingRequest request)
      : wxDialog(parent, wxID_ANY, Title(), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE, "file-saving"),
        services_(services),
        request_(std::move(request)),
        dispatcher_(this),
        bridge_(dispatcher_, runner_.Control()),
        reporter_(bridge_),
        controller_(*this, services.messages, runner_, services.log,
                    [this] {
                      CCompletionDialog completion(nullptr, services_);
                      completion.ShowModal();
                    },
                    services.endProcessNow) {
    DialogUnits l(this);
    SetClientSize(l.Size(349, 209));
    new wxStaticText(this, wxID_ANY, "File Name  :", l.At(20, 30), l.Size(50, 10));
    texts_[CBridgedSavingReporter::kFileName] = new wxStaticText(this, 1018, "", l.At(75, 30), l.Size(260, 10));
    new wxStaticText(this, wxID_ANY, "File Count :", l.At(20, 48), l.Size(50, 10));
    texts_[CBridgedSavingReporter::kFileNumber] = new wxStaticText(this, 1019, "", l.At(75, 48), l.Size(20, 10));
    new wxStaticText(this, wxID_ANY, "/", l.At(97, 48), l.Size(6, 10));
    texts_[CBridgedSavingReporter::kFileTotal] = new wxStaticText(this, 1012, "", l.At(105, 48), l.Size(30, 10));
    new wxStaticText(this, wxID_ANY, "File Path   :", l.At(20, 66), l.Size(50, 10));
    texts_[CBridgedSavingReporter::kDestination] = new wxStaticText(this, 1020, "", l.At(75, 66), l.Size(260, 20));
    new wxStaticText(this, wxID_ANY, "Current Progress", l.At(20, 95), l.Size(100, 10));
    bars_[0] = new wxGauge(this, 1021, 100, l.At(20, 107), l.Size(309, 12));
    new wxStaticText(this, wxID_ANY, "Overall Progress", l.At(20, 127), l.Size(100, 10));
    bars_[1] = new wxGauge(this, 1032, 100, l.At(20, 139), l.Size(309, 12));
    pause_ = new wxButton(this, 1023, "Pause", l.At(230, 180), l.Size(50, 14));
    new wxButton(this, 1022, "Stop", l.At(285, 180), l.Size(50, 14));

    CUiBridge::Target target;
    target.value = [this](int slot, int value) { bars_[slot == 1 ? 1 : 0]->SetValue(std::clamp(value, 0, 100)); };
    target.text = [this](int slot, const std::string& text) {
      if (slot >= 0 && slot < 4) texts_[slot]->SetLabel(Utf8(text));
    };
    target.finished = [this] {
      controller_.PassFinished({request_.saveCurrentFileOnly, services_.state.SourceFileCount});
    };
    bridge_.SetTarget(std::move(target));

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
      controller_.PauseClicked();
      if (!runner_.IsPaused()) bridge_.Flush();
    }, 1023);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { controller_.StopClicked(); }, 1022);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
      if (e.CanVeto()) e.Veto();
      controller_.CloseRequested();
    });
    app::TakeKeys(this, {{WXK_ESCAPE, [this] { controller_.EscapePressed(); }}});
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
      e.Skip();
      controller_.Initialise([this](IJobGate& gate) {
        CPacedGate paced(gate, services_.pace);
        CSavingPass pass(services_.archive, services_.context, services_.log, reporter_, paced, services_.savingStall,
                         services_.clock);
        pass.Run(request_);
      });
    });
  }
  ~CFileSavingDialog() override { runner_.Stop(); }

  void SetPauseLabel(const std::string& text) override { pause_->SetLabel(Utf8(text)); }
  void SetVisible(bool visible) override { Show(visible); }
  void Close() override {
    if (IsModal()) EndModal(wxID_OK);
  }

 private:
  RepairServices& services_;
  SavingRequest request_;
  CPassRunner runner_;
  CWxUiDispatcher dispatcher_;
  CUiBridge bridge_;
  CBridgedSavingReporter reporter_;
  CFileSavingController controller_;
  wxStaticText* texts_[4] = {};
  wxGauge* bars_[2] = {};
  wxButton* pause_ = nullptr;
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
    buttons_[0] = new wxButton(panel, kNextFile, "Next File", l.At(244, 244), l.Size(74, 14));
    buttons_[1] = new wxButton(panel, kBackFile, "Back File", l.At(166, 244), l.Size(74, 14));
    buttons_[2] = new wxButton(panel, kSaveCurrent, "Save Current File", l.At(331, 266), l.Size(82, 14));
    buttons_[3] = new wxButton(panel, kSaveAll, "Save All", l.At(417, 266), l.Size(50, 14));
    buttons_[4] = new wxButton(panel, kBack, "Back", l.At(14, 266), l.Size(50, 14));
    labels_[0] = new wxStaticText(panel, 1044, "Source File Path    :", l.At(17, 50), l.Size(66, 8));
    new wxStaticText(panel, wxID_ANY, " File Number :", l.At(16, 247), l.Size(47, 8));
    number_ = new wxStaticText(panel, 1012, "", l.At(61, 247), l.Size(12, 8), wxALIGN_RIGHT);
    new wxStaticText(panel, 1036, "/", l.At(76, 247), l.Size(8, 8));
    total_ = new wxStaticText(panel, 1033, "", l.At(82, 247), l.Size(13, 8));
    path_ = new wxStaticText(panel, 1037, "", l.At(83, 50), l.Size(385, 17));
    list_ = new wxListCtrl(panel, kEntryList, l.At(15, 79), l.Size(452, 157),
                           wxLC_REPORT | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);
    const char* headings[] = {"File Name", "UnCompressed File Size", "Compressed File Size", "Compression Ratio",
                              "Modified Time", "CRC 32"};
    const int widths[] = {200, 135, 125, 115, 100, 100};
    for (int i = 0; i < 6; ++i) list_->InsertColumn(i, headings[i], wxLIST_FORMAT_LEFT, widths[i]);
    labels_[1] = new wxStaticText(panel, 1045, "Number Of Files Extracted :", l.At(18, 66), l.Size(90, 12));
    listed_ = new wxStaticText(panel, 1043, "", l.At(108, 65), l.Size(69, 12));

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
  wxStaticText* labels_[2] = {};
  wxStaticText* number_ = nullptr;
  wxStaticText* total_ = nullptr;
  wxStaticText* path_ = nullptr;
  wxStaticText* listed_ = nullptr;
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
