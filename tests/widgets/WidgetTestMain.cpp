// Starts the toolkit once for all widget tests; each test makes its windows.
#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include "WidgetTestSupport.h"

namespace {

class WidgetTestApp : public wxApp {
 public:
  // The base version would parse the command line, which belongs to gtest.
  bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(WidgetTestApp);

namespace vz::widgets::test {

void RunEventLoop(int ms) {
  wxEventLoop loop;
  wxTimer stop;
  stop.Bind(wxEVT_TIMER, [&loop](wxTimerEvent&) { loop.Exit(); });
  stop.StartOnce(ms);
  loop.Run();
}

bool RunUntil(const std::function<bool()>& done, int maxMs) {
  const auto start = std::chrono::steady_clock::now();
  while (!done()) {
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(maxMs)) return false;
    RunEventLoop(20);
  }
  return true;
}

ShownFrame::ShownFrame()
    : m_frame(new wxFrame(nullptr, wxID_ANY, "widget test", wxPoint(20, 20), wxSize(300, 200))),
      m_panel(new wxPanel(m_frame)) {
  m_frame->Show();
  RunEventLoop(50);
}

ShownFrame::~ShownFrame() {
  m_frame->Destroy();
  RunEventLoop(20);
}

}  // namespace vz::widgets::test

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "cannot start the toolkit (no display?)\n");
    return 1;
  }
  if (!wxTheApp->CallOnInit()) return 1;
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
