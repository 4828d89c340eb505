#include "widgets/SplashScreen.h"

#include <chrono>
#include <memory>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/settings.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include "widgets/SkinBackground.h"
#include "widgets/TextLayout.h"

namespace vz::widgets {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFadeInMs = 500;
constexpr int kFadeOutMs = 200;
constexpr int kPumpStepMs = 10;
constexpr int kTimeOutRetryMs = 50;
constexpr int kFirstPaintMs = 500;

// Handles the pending paint and other display events once. Needs an active
// event loop; the callers make sure there is one.
void YieldDisplayEventsOnce() {
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_UI);
}

int MillisSince(Clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Blends the window from one opacity to the other over `ms`, letting it
// repaint between the steps.
void Fade(wxTopLevelWindow* window, int from, int to, int ms) {
  wxEventLoopGuarantor loop;  // the start-up splash shows before the main loop runs
  const Clock::time_point start = Clock::now();
  for (int elapsed = 0; elapsed < ms; elapsed = MillisSince(start)) {
    window->SetTransparent(static_cast<wxByte>(from + (to - from) * elapsed / ms));
    window->Update();
    YieldDisplayEventsOnce();
    wxMilliSleep(kPumpStepMs);
  }
  window->SetTransparent(static_cast<wxByte>(to));
  window->Update();
}

// Handles display events until `done` or until `ms` have passed.
void PumpDisplayEventsUntil(const std::function<bool()>& done, int ms) {
  wxEventLoopGuarantor loop;
  const Clock::time_point start = Clock::now();
  while (!done() && MillisSince(start) < ms) {
    YieldDisplayEventsOnce();
    wxMilliSleep(kPumpStepMs);
  }
}

}  // namespace

void PumpDisplayEvents(int ms) {
  PumpDisplayEventsUntil([] { return false; }, ms);
}

CSplashScreenEx::CSplashScreenEx(int timeoutMs, unsigned style, const wxString& text)
    : m_timeoutMs(timeoutMs),
      m_style(style),
      m_text(text),
      m_font(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT)),
      m_timer(this) {}

CSplashScreenEx* CSplashScreenEx::Create(wxWindow* parent, const wxString& text, int timeoutMs,
                                         unsigned style) {
  // Owned here only until the toolkit has the window; from then on it is a
  // top-level window that destroys itself.
  std::unique_ptr<CSplashScreenEx> splash(new CSplashScreenEx(timeoutMs, style, text));
  splash->SetBackgroundStyle(wxBG_STYLE_PAINT);
  const long frameStyle = wxFRAME_SHAPED | wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR |
                          wxFRAME_TOOL_WINDOW;
  if (!splash->wxFrame::Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                               frameStyle))
    return nullptr;
  splash->Bind(wxEVT_PAINT, &CSplashScreenEx::OnPaint, splash.get());
  splash->Bind(wxEVT_TIMER, &CSplashScreenEx::OnTimer, splash.get());
  splash->Bind(wxEVT_KEY_DOWN, &CSplashScreenEx::OnInput, splash.get());
  for (const auto& press : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MIDDLE_DOWN})
    splash->Bind(press, &CSplashScreenEx::OnInput, splash.get());
  return splash.release();
}

bool CSplashScreenEx::SetBitmap(const std::string& path, int red, int green, int blue) {
  const wxBitmap picture = LoadBitmapQuietly(path);
  if (!picture.IsOk()) return false;  // a missing picture only means no splash
  m_picture = picture;
  const wxSize size = picture.GetSize();
  m_textRect = wxRect(size);

  wxPoint pos = GetPosition();
  if (m_style & kCentreScreen) {
    const wxRect area = wxGetClientDisplayRect();
    pos = wxPoint(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2);
  } else if ((m_style & kCentreParent) && GetParent()) {
    const wxRect area = GetParent()->GetScreenRect();
    pos = wxPoint(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2);
  }
  SetSize(wxRect(pos, size));

  // The window is the picture's size: the shape is the picture's alone.
  m_shape = ShapeRequested(red, green, blue)
                ? ShapeRegionFor(picture, wxColour(static_cast<unsigned char>(red), static_cast<unsigned char>(green),
                                                   static_cast<unsigned char>(blue)),
                                 size)
                : wxRegion();
  SetShape(m_shape);  // an empty region makes the window rectangular again
  Refresh();
  return true;
}

void CSplashScreenEx::SetText(const wxString& text) {
  m_text = text;
  Refresh();
}

void CSplashScreenEx::SetTextColour(const wxColour& colour) {
  m_textColour = colour;
  Refresh();
}

void CSplashScreenEx::SetTextFont(const wxFont& font) {
  m_font = font;
  Refresh();
}

wxSize CSplashScreenEx::PictureSize() const {
  return m_picture.IsOk() ? m_picture.GetSize() : wxSize(0, 0);
}

void CSplashScreenEx::Show() {
  if (m_hiding) return;
  if (m_picture.IsOk()) {
    SetSize(wxRect(GetPosition(), m_picture.GetSize()));
    const bool fade = (m_style & kFadeIn) && CanSetTransparent();
    if (fade) SetTransparent(0);
    ShowWithoutActivating();
    if (fade) Fade(this, 0, 255, kFadeInMs);
    // The window only appears once the display has mapped and exposed it;
    // wait for that first paint, so that the picture is up when Show returns.
    PumpDisplayEventsUntil([this] { return m_painted; }, kFirstPaintMs);
  }
  // Without a picture nothing shows, but the time-out still disposes of it.
  if (m_timeoutMs > 0) m_timer.StartOnce(m_timeoutMs);
}

void CSplashScreenEx::Hide() {
  if (m_hiding) return;
  m_hiding = true;
  m_timer.Stop();  // the window is about to go; no time-out may reach it
  if ((m_style & kFadeOut) && IsShown() && CanSetTransparent()) Fade(this, 255, 0, kFadeOutMs);
  wxFrame::Show(false);
  Destroy();
}

void CSplashScreenEx::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  m_painted = true;
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  if (m_picture.IsOk()) dc.DrawBitmap(m_picture, 0, 0, false);
  if (m_text.empty()) return;
  dc.SetFont(m_font.IsOk() ? m_font : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  dc.SetTextForeground(m_textColour);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const auto lines = WrapLines(m_text, m_textRect.width,
                               [&dc](const wxString& s) { return dc.GetTextExtent(s).x; });
  DrawLines(dc, m_textRect, lines, wxALIGN_CENTRE_HORIZONTAL, true);
}

void CSplashScreenEx::OnTimer(wxTimerEvent&) {
  // GTK fires timers even while only display events are being handled; the
  // time-out waits, like any other input, until events are handled again.
  const wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop && loop->IsYielding() && !loop->IsEventAllowedInsideYield(wxEVT_CATEGORY_TIMER)) {
    m_timer.StartOnce(kTimeOutRetryMs);
    return;
  }
  Hide();
}

void CSplashScreenEx::OnInput(wxEvent& event) {
  if (m_style & kHideOnInput) {
    Hide();
    return;
  }
  event.Skip();
}

void ShowStartupSplash(const std::string& skinFolder,
                       const std::function<void(wxWindow*)>& whileShown) {
  constexpr unsigned kStartupStyle = CSplashScreenEx::kFadeIn | CSplashScreenEx::kFadeOut |
                                     CSplashScreenEx::kShadow | CSplashScreenEx::kCentreScreen;
  constexpr int kHoldMs = 2500;
  CSplashScreenEx* splash = CSplashScreenEx::Create(nullptr, wxString(), 2000, kStartupStyle);
  if (!splash) return;
  if (!splash->SetBitmap(skinFolder + "/Flash.bmp", 255, 0, 240)) {
    // Nothing to show, so nothing to wait for: start-up goes on at once.
    splash->Destroy();
    return;
  }
  // The time-out may hide (and so destroy) it while we wait.
  const wxWeakRef<CSplashScreenEx> alive(splash);
  splash->Show();
  if (whileShown && alive) whileShown(alive.get());
  // User input is deliberately left queued: the program is not ready for it.
  PumpDisplayEvents(kHoldMs);
  if (alive) alive->Hide();
}

}  // namespace vz::widgets
