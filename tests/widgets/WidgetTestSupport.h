#pragma once
// Helpers for tests that need real windows and a running event loop.

#include <functional>
#include <ostream>

#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

class wxFrame;
class wxPanel;

namespace vz::widgets::test {

// Runs a real event loop (timers, idle time, deferred window destruction)
// for `ms` milliseconds.
void RunEventLoop(int ms);

// Runs the event loop until `done` or until `maxMs` have passed.
bool RunUntil(const std::function<bool()>& done, int maxMs);

// A shown top-level frame with a plain panel filling it, destroyed with the
// fixture. Children of the panel keep the positions and sizes they are given.
class ShownFrame {
 public:
  ShownFrame();
  ~ShownFrame();
  ShownFrame(const ShownFrame&) = delete;
  ShownFrame& operator=(const ShownFrame&) = delete;
  wxFrame* Frame() const { return m_frame; }
  wxPanel* Panel() const { return m_panel; }

 private:
  wxFrame* m_frame;
  wxPanel* m_panel;
};

inline wxColour PixelAt(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

}  // namespace vz::widgets::test

// Readable failure messages for the toolkit's value types.
inline void PrintTo(const wxRect& r, std::ostream* os) {
  *os << "{" << r.x << "," << r.y << " " << r.width << "x" << r.height << "}";
}
inline void PrintTo(const wxSize& s, std::ostream* os) { *os << s.x << "x" << s.y; }
inline void PrintTo(const wxColour& c, std::ostream* os) {
  *os << "RGB(" << int(c.Red()) << "," << int(c.Green()) << "," << int(c.Blue()) << ")";
}
