#pragma once
// A borderless, always-on-top picture shaped by a transparent colour, shown
// without taking the focus, with optional fades and a time-out.

#include <functional>
#include <string>

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/font.h>
#include <wx/frame.h>
#include <wx/region.h>
#include <wx/timer.h>

class wxMouseEvent;
class wxKeyEvent;
class wxPaintEvent;
class wxTimerEvent;

namespace vz::widgets {

class CSplashScreenEx : public wxFrame {
 public:
  static constexpr unsigned kFadeIn = 0x01;      // 500 ms, where the display can blend windows
  static constexpr unsigned kFadeOut = 0x02;     // 200 ms, likewise
  static constexpr unsigned kShadow = 0x04;      // accepted, but draws nothing: no drop shadow here
  static constexpr unsigned kCentreScreen = 0x08;
  static constexpr unsigned kCentreParent = 0x10;  // only without kCentreScreen
  static constexpr unsigned kHideOnInput = 0x20;

  // nullptr if the window cannot be made. The splash destroys itself in
  // Hide(), like any top-level window; until then it lives as long as the
  // application's windows do.
  static CSplashScreenEx* Create(wxWindow* parent, const wxString& text, int timeoutMs = 2000,
                                 unsigned style = 0);

  // Loads the picture (BMP) and shapes the window to it, leaving out the
  // pixels of exactly the colour (red, green, blue); a component of -1 keeps
  // the window rectangular. A picture that cannot be loaded gives false and
  // leaves the previous one in place.
  bool SetBitmap(const std::string& path, int red, int green, int blue);
  void SetText(const wxString& text);
  void SetTextColour(const wxColour& colour);
  void SetTextFont(const wxFont& font);

  // Shows the picture without activating it, fading in if asked to, waits
  // (at most half a second) until it has been painted, and starts the
  // time-out, if any.
  void Show();
  // Fades out if asked to, then destroys the window: the caller must not
  // touch the object afterwards. Calling it again before the destruction does
  // nothing.
  void Hide();

  wxSize PictureSize() const;
  const wxRegion& Shape() const { return m_shape; }  // empty: rectangular
  bool IsHiding() const { return m_hiding; }
  bool HasBeenPainted() const { return m_painted; }

 private:
  CSplashScreenEx(int timeoutMs, unsigned style, const wxString& text);

  void OnPaint(wxPaintEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnInput(wxEvent& event);

  int m_timeoutMs;
  unsigned m_style;
  wxString m_text;
  wxColour m_textColour = *wxBLACK;
  wxFont m_font;
  wxBitmap m_picture;
  wxRect m_textRect;
  wxRegion m_shape;
  wxTimer m_timer;
  bool m_hiding = false;
  bool m_painted = false;
};

// The start-up splash: skinFolder/Flash.bmp, centred on the screen, faded in
// and out, held for 2.5 s while only paint and other display events are
// handled. `whileShown` is called once, when the picture is fully shown (for
// screenshots). Without the picture nothing is shown and nothing waits.
void ShowStartupSplash(const std::string& skinFolder,
                       const std::function<void(wxWindow*)>& whileShown = {});

// Handles only paint and other display events for `ms` milliseconds, even
// before the application's main loop runs.
void PumpDisplayEvents(int ms);

}  // namespace vz::widgets
