// Drives the desktop program's real windows through a whole repair on a
// (virtual) display, in-process: three archives (one damaged, one that lists
// no entries, one intact), Repair, Next File, Back File, Save All into a
// temporary folder, the completion dialog. Message boxes are answered by the
// test; the folder browser returns the temporary folder. At the end, which
// comes through the program's own "end the process now", it checks the files
// written, the rows the Preview showed, where the bars ended and the exact
// activity log, and it leaves a PNG of every window in the screenshot folder.
//
//   vz_gui_flow_test SCREENSHOT-FOLDER [DATA-FOLDER]
//
// DATA-FOLDER holds the skins and the help page (the build's res folder).

#include <gdk/gdk.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "app/DesktopSession.h"
#include "app/WxShared.h"
#include "widgets/TextProgressCtrl.h"
#include "tests/support/ZipWriter.h"

namespace vz::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Control ids of the windows, as their templates give them.
constexpr int kRepair = 1005;
constexpr int kAboutOk = 1031;
constexpr int kEntryList = 1000;
constexpr int kBackFile = 1013;
constexpr int kNextFile = 1014;
constexpr int kSaveAll = 1016;
constexpr int kAnalysisBar = 1024;
constexpr int kCurrentBar = 1021;
constexpr int kOverallBar = 1032;
constexpr int kCompletionOk = 1026;

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// Remembers every box and answers Ok, or No to a question: the run below
// asks none, and a question would be a fault the log check shows.
struct RecordingMessages : app::IMessageService {
  app::MessageAnswer Show(const app::MessageRequest& request) override {
    shown.push_back(request.text);
    return request.buttons == app::MessageButtons::Ok ? app::MessageAnswer::Ok : app::MessageAnswer::No;
  }
  std::vector<std::string> shown;
};

wxWindow* ShownWindow(const wxString& name) {
  for (wxWindow* w : wxTopLevelWindows) {
    if (w->GetName() == name && w->IsShown()) return w;
  }
  return nullptr;
}

// Queues a click, so that a modal window it opens runs from the event loop
// and not inside the driver's timer.
void Click(wxWindow* top, int id) {
  wxWindow* control = top->FindWindow(id);
  if (!control) return;
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(control);
  control->GetEventHandler()->AddPendingEvent(event);
}

void Menu(wxWindow* top, int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(top);
  top->GetEventHandler()->AddPendingEvent(event);
}

// Where a progress bar stands; -1 without one.
int BarValue(wxWindow* bar) {
  if (auto* text = dynamic_cast<widgets::CTextProgressCtrl*>(bar)) return text->GetPos();
  return -1;
}

// Sees every event before its window: counts the Analysis dialogs and reads
// the bars of each progress dialog as it hides.
class CShowWatcher : public wxEventFilter {
 public:
  explicit CShowWatcher(std::function<void(wxWindow*, bool)> onShow) : onShow_(std::move(onShow)) {}
  int FilterEvent(wxEvent& event) override {
    if (event.GetEventType() == wxEVT_SHOW) {
      if (auto* window = dynamic_cast<wxWindow*>(event.GetEventObject()); window && window->IsTopLevel()) {
        onShow_(window, static_cast<wxShowEvent&>(event).IsShown());
      }
    }
    return Event_Skip;
  }

 private:
  std::function<void(wxWindow*, bool)> onShow_;
};

std::vector<std::string> ListRows(wxWindow* preview) {
  std::vector<std::string> rows;
  auto* list = dynamic_cast<wxListCtrl*>(preview->FindWindow(kEntryList));
  if (!list) return rows;
  for (long i = 0; i < list->GetItemCount(); ++i) rows.push_back(list->GetItemText(i, 0).utf8_string());
  return rows;
}

// What the screen shows of the window, as a PNG.
void Snap(wxWindow* window, const fs::path& file) {
  window->Raise();
  window->Update();
  wxRect r = window->GetScreenRect();
  GdkWindow* root = gdk_get_default_root_window();
  GdkPixbuf* pixels = gdk_pixbuf_get_from_window(root, r.x, r.y, r.width, r.height);
  if (!pixels) {
    std::fprintf(stderr, "could not read the screen for %s\n", file.c_str());
    return;
  }
  gdk_pixbuf_save(pixels, file.c_str(), "png", nullptr, nullptr);
  g_object_unref(pixels);
}

struct Step {
  std::string what;
  std::function<bool()> done;  // runs at every tick until it says true
};

class CFlowApp : public wxApp {
 public:
  bool OnInit() override;

 private:
  void MakeArchives();
  void Tick();
  [[noreturn]] void Finish(int exitCode);
  void CheckResults();
  void Check(bool ok, const std::string& what);
  // Takes the window's picture once it has been on the screen a while and
  // the caller says it is ready.
  bool SnapWhenSettled(wxWindow* window, const char* name, bool ready = true);

  fs::path work_;
  fs::path shots_;
  fs::path data_;
  std::vector<std::string> archives_;
  std::map<std::string, std::string> intactFiles_;
  RecordingMessages messages_;
  std::unique_ptr<app::CDesktopSession> session_;
  std::atomic<bool> slow_{true};
  std::vector<Step> steps_;
  std::size_t step_ = 0;
  Clock::time_point stepStarted_;
  Clock::time_point started_;
  wxTimer timer_;
  std::map<std::string, Clock::time_point> firstSeen_;
  std::vector<std::vector<std::string>> rowsSeen_;
  int analysesSeen_ = 0;
  std::vector<int> analysisBarsAtEnd_;
  std::vector<int> savingBarsAtEnd_;
  int failures_ = 0;
  bool splashSeen_ = false;
  std::unique_ptr<CShowWatcher> watcher_;
};

void CFlowApp::MakeArchives() {
  fs::create_directories(work_ / "in");
  // Damaged: a stub in front, an entry whose data breaks off, no central
  // directory and no end record.
  ZipWriter damaged;
  damaged.Raw("stub bytes in front of the archive");
  damaged.Add("notes/readme.txt", Repeat("Every byte that is still there is kept.\n", 4000));
  damaged.Add("data/table.csv", Repeat("1,2,3,4,5,6,7,8,9\n", 3000), 0);
  std::string big;
  for (long long i = 0; i < 300000; ++i) big += std::to_string(i * 7919 % 100003) + (i % 9 ? "," : "\n");
  damaged.Add("data/broken.csv", big);
  std::string bytes = damaged.Bytes();
  const WrittenEntry& last = damaged.Entries().back();
  bytes.resize(last.dataOffset + last.dataSize / 2);
  WriteFile(work_ / "in" / "damaged.zip", bytes);
  // No headers at all: the analysis lists nothing.
  WriteFile(work_ / "in" / "nothing.zip", Repeat("not an archive, only text\n", 5000));
  // Intact.
  ZipWriter intact;
  intactFiles_ = {{"a.txt", "first file\n"}, {"sub/b.txt", Repeat("second file\n", 100)}};
  for (const auto& [name, data] : intactFiles_) intact.Add(name, data);
  intact.Finish();
  intact.Save(work_ / "in" / "intact.zip");
  for (const char* name : {"damaged.zip", "nothing.zip", "intact.zip"}) {
    archives_.push_back((work_ / "in" / name).string());
  }
}

void CFlowApp::Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  if (!ok) ++failures_;
}

bool CFlowApp::SnapWhenSettled(wxWindow* window, const char* name, bool ready) {
  auto [it, fresh] = firstSeen_.try_emplace(name, Clock::now());
  if (!ready || Clock::now() - it->second < std::chrono::milliseconds(400)) return false;
  Snap(window, shots_ / (std::string(name) + ".png"));
  return true;
}

bool CFlowApp::OnInit() {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vz_gui_flow_test SCREENSHOT-FOLDER [DATA-FOLDER]\n");
    return false;
  }
  // A failed toolkit assertion is a failure of the run, not a box to click.
  wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
    std::printf("FAILED: toolkit assertion %s at %s:%d %s\n", cond.utf8_str().data(), file.utf8_str().data(), line,
                msg.utf8_str().data());
    std::fflush(stdout);
    std::_Exit(1);
  });
  shots_ = fs::absolute(argv[1].utf8_string());
  fs::create_directories(shots_);
  work_ = fs::temp_directory_path() / ("vz-gui-flow-" + std::to_string(::getpid()));
  fs::remove_all(work_);
  fs::create_directories(work_ / "out");
  fs::create_directories(work_ / "log");
  data_ = argc > 2 ? fs::absolute(argv[2].utf8_string()) : work_;
  MakeArchives();
  {
    std::ofstream ini(work_ / "settings.ini");
    ini << "[VFZIP]\nFilePath=" << data_.string() << "\nLogPath=" << (work_ / "log").string() << "\n";
  }

  app::DesktopSeams seams;
  seams.messages = &messages_;
  seams.endProcessNow = [this](int code) {
    Check(code == 0, "the program ends with exit code 0");
    Finish(code);
  };
  seams.openFile = [this](const std::string& path) { Check(false, "nothing is opened, but " + path + " was"); };
  seams.openPage = seams.openFile;
  seams.chooseFolder = [this](wxWindow*) -> std::optional<std::string> { return (work_ / "out").string(); };
  // Slow enough for a person to see the bars move in the screenshots.
  seams.pace = [this] {
    if (slow_) std::this_thread::sleep_for(std::chrono::milliseconds(40));
  };
  seams.splashShown = [this](wxWindow* splash) {
    Snap(splash, shots_ / "splash.png");
    splashSeen_ = true;
  };
  // One fixed moment: the log's header and the folders' names are exact.
  seams.clock = [] {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 20;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
  };
  session_ = std::make_unique<app::CDesktopSession>(app::CSettingsStore(work_ / "settings.ini"), std::move(seams));
  session_->Log().Clear();
  wxWindow* main = session_->ShowMainDialog(archives_);
  SetTopWindow(main);

  auto analysisEnded = [this](int count) {
    return [this, count] {
      wxWindow* preview = ShownWindow("preview");
      if (analysesSeen_ < count || ShownWindow("analysis") || !preview) return false;
      rowsSeen_.push_back(ListRows(preview));
      return true;
    };
  };
  steps_ = {
      {"the main dialog lists the three archives",
       [this] {
         wxWindow* main = ShownWindow("main");
         return main && SnapWhenSettled(main, "main");
       }},
      {"Help > About opens the About box",
       [this] {
         if (!ShownWindow("about") && !firstSeen_.count("about-asked")) {
           firstSeen_["about-asked"] = Clock::now();
           Menu(ShownWindow("main"), app::kMenuAbout);
         }
         wxWindow* about = ShownWindow("about");
         if (!about || !SnapWhenSettled(about, "about")) return false;
         Click(about, kAboutOk);
         return true;
       }},
      {"Repair opens the Preview, which analyses the first archive",
       [this] {
         if (ShownWindow("about")) return false;
         Click(ShownWindow("main"), kRepair);
         return true;
       }},
      {"the Analysis dialog shows its bar moving",
       [this] {
         wxWindow* analysis = ShownWindow("analysis");
         if (!analysis || !SnapWhenSettled(analysis, "analysis", BarValue(analysis->FindWindow(kAnalysisBar)) >= 30)) {
           return false;
         }
         slow_ = false;
         return true;
       }},
      {"the first archive's rows are listed", analysisEnded(1)},
      {"the Preview with rows",
       [this] {
         wxWindow* preview = ShownWindow("preview");
         if (!SnapWhenSettled(preview, "preview")) return false;
         Click(preview, kNextFile);
         return true;
       }},
      {"Next File analyses the archive that lists nothing", analysisEnded(2)},
      {"Back File analyses the first archive again",
       [this] {
         Click(ShownWindow("preview"), kBackFile);
         return true;
       }},
      {"the first archive's rows again", analysisEnded(3)},
      {"Save All opens the File Saving dialog",
       [this] {
         slow_ = true;
         Click(ShownWindow("preview"), kSaveAll);
         return true;
       }},
      {"the File Saving dialog shows its bars moving",
       [this] {
         wxWindow* saving = ShownWindow("file-saving");
         if (!saving || !SnapWhenSettled(saving, "file-saving", BarValue(saving->FindWindow(kCurrentBar)) >= 30)) {
           return false;
         }
         slow_ = false;
         return true;
       }},
      {"the completion dialog ends the run",
       [this] {
         wxWindow* completion = ShownWindow("completion");
         if (!completion || !SnapWhenSettled(completion, "completion")) return false;
         Click(completion, kCompletionOk);
         return true;
       }},
      {"OK ends the process", [] { return false; }},
  };

  watcher_ = std::make_unique<CShowWatcher>([this](wxWindow* window, bool shown) {
    if (window->GetName() == "analysis") {
      if (shown) ++analysesSeen_;
      else analysisBarsAtEnd_.push_back(BarValue(window->FindWindow(kAnalysisBar)));
    } else if (window->GetName() == "completion" && shown) {
      // The File Saving dialog stays behind the completion dialog.
      if (wxWindow* saving = wxWindow::FindWindowByName("file-saving")) {
        savingBarsAtEnd_ = {BarValue(saving->FindWindow(kCurrentBar)), BarValue(saving->FindWindow(kOverallBar))};
      }
    }
  });
  wxEvtHandler::AddFilter(watcher_.get());
  started_ = stepStarted_ = Clock::now();
  timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
  timer_.Start(50);
  return true;
}

void CFlowApp::Tick() {
  using std::chrono::seconds;
  if (Clock::now() - started_ > seconds(90) || Clock::now() - stepStarted_ > seconds(30)) {
    std::printf("FAILED: stuck at \"%s\"; windows shown:", steps_[step_].what.c_str());
    for (wxWindow* w : wxTopLevelWindows) {
      if (w->IsShown()) std::printf(" %s", w->GetName().utf8_str().data());
    }
    std::printf("\nmessages:");
    for (const auto& m : messages_.shown) std::printf(" [%s]", m.c_str());
    std::printf("\n");
    ++failures_;
    Finish(1);
  }
  if (!steps_[step_].done()) return;
  std::printf("step: %s\n", steps_[step_].what.c_str());
  std::fflush(stdout);
  ++step_;
  stepStarted_ = Clock::now();
}

void CFlowApp::Finish(int exitCode) {
  timer_.Stop();
  wxEvtHandler::RemoveFilter(watcher_.get());
  Check(step_ + 1 == steps_.size(), "the run reached its end");
  CheckResults();
  std::fflush(stdout);
  std::error_code ec;
  fs::remove_all(work_, ec);
  std::_Exit(failures_ == 0 && exitCode == 0 ? 0 : 1);
}

void CFlowApp::CheckResults() {
  auto joined = [](const std::vector<std::string>& v) {
    std::string out;
    for (const auto& s : v) out += (out.empty() ? "" : " | ") + s;
    return out;
  };
  // Names show with backslashes, as the list has always shown them.
  const std::vector<std::string> damagedRows = {"notes\\readme.txt", "data\\table.csv", "data\\broken.csv"};
  Check(splashSeen_ || data_ == work_, "the start-up splash showed");
  Check(rowsSeen_.size() == 3, "three analyses listed their rows");
  if (rowsSeen_.size() == 3) {
    Check(rowsSeen_[0] == damagedRows, "the damaged archive's rows: " + joined(rowsSeen_[0]));
    Check(rowsSeen_[1].empty(), "the archive without headers lists no rows: " + joined(rowsSeen_[1]));
    Check(rowsSeen_[2] == damagedRows, "Back File lists the damaged archive's rows again");
  }
  std::string bars;
  for (int v : analysisBarsAtEnd_) bars += std::to_string(v) + " ";
  Check(analysisBarsAtEnd_ == std::vector<int>{99, 99, 99}, "each Analysis bar ends at 99, as the pass leaves it: " + bars);
  Check(savingBarsAtEnd_ == std::vector<int>{100, 100}, "both File Saving bars end full");
  Check(messages_.shown == std::vector<std::string>{"File is highly corrupted or version not supported.Recovery not possible."},
        "one message box, for the archive without headers: " + joined(messages_.shown));

  std::vector<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(work_ / "out")) {
    written.push_back(fs::relative(entry.path(), work_ / "out").string() + (entry.is_directory() ? "/" : ""));
  }
  std::sort(written.begin(), written.end());
  // One folder per archive, the one without entries too.
  std::vector<std::string> expected = {
      "VF_Recovered_Zip  7-12-2026  20-5-9/",
      "VF_Recovered_Zip  7-12-2026  20-5-9 (2)/",
      "VF_Recovered_Zip  7-12-2026  20-5-9 (3)/",
      "VF_Recovered_Zip  7-12-2026  20-5-9 (3)/a.txt",
      "VF_Recovered_Zip  7-12-2026  20-5-9 (3)/sub/",
      "VF_Recovered_Zip  7-12-2026  20-5-9 (3)/sub/b.txt",
      "VF_Recovered_Zip  7-12-2026  20-5-9/data/",
      "VF_Recovered_Zip  7-12-2026  20-5-9/data/broken.csv",
      "VF_Recovered_Zip  7-12-2026  20-5-9/data/table.csv",
      "VF_Recovered_Zip  7-12-2026  20-5-9/notes/",
      "VF_Recovered_Zip  7-12-2026  20-5-9/notes/readme.txt",
  };
  std::sort(expected.begin(), expected.end());
  Check(written == expected, "the files written: " + joined(written));
  for (const auto& entry : fs::recursive_directory_iterator(work_ / "out")) {
    std::string name = entry.path().filename().string();
    if (name == "a.txt") Check(ReadFile(entry.path()) == intactFiles_["a.txt"], "a.txt is whole");
    if (name == "b.txt") Check(ReadFile(entry.path()) == intactFiles_["sub/b.txt"], "sub/b.txt is whole");
    if (name == "broken.csv") Check(entry.file_size() > 0, "the broken entry keeps what it still holds");
  }

  std::string log = ReadFile(session_->Log().LogFilePath());
  std::string expectedLog = ReadFile(fs::path(VZ_GUI_FLOW_EXPECTED_LOG));
  for (const auto& [from, to] : std::map<std::string, std::string>{{"@IN@", (work_ / "in").string()},
                                                                  {"@OUT@", (work_ / "out").string()}}) {
    for (std::size_t at; (at = expectedLog.find(from)) != std::string::npos;) expectedLog.replace(at, from.size(), to);
  }
  Check(log == expectedLog, "the activity log is exactly as expected");
  if (log != expectedLog) {
    std::ofstream(shots_ / "activity-log-seen.txt", std::ios::binary) << log;
    std::printf("the log seen is in %s\n", (shots_ / "activity-log-seen.txt").c_str());
  }
}

}  // namespace
}  // namespace vz::test

wxIMPLEMENT_APP_NO_MAIN(vz::test::CFlowApp);

int main(int argc, char** argv) { return wxEntry(argc, argv); }
