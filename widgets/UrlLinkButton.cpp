#include "widgets/UrlLinkButton.h"

#include <wx/dcbuffer.h>
#include <wx/module.h>
#include <wx/settings.h>

#include "widgets/SkinBackground.h"

namespace vz::widgets {

namespace {

// One hand cursor for every link in the process, let go while the toolkit is
// still there to free it.
class HandCursorModule final : public wxModule {
 public:
  static const wxCursor& Hand() {
    if (!Cursor().IsOk()) Cursor() = wxCursor(wxCURSOR_HAND);
    return Cursor();
  }
  bool OnInit() override { return true; }
  void OnExit() override { Cursor() = wxNullCursor; }

 private:
  static wxCursor& Cursor() {
    static wxCursor cursor;
    return cursor;
  }
  wxDECLARE_DYNAMIC_CLASS(HandCursorModule);
};

wxIMPLEMENT_DYNAMIC_CLASS(HandCursorModule, wxModule);

}  // namespace

CURLLinkButton::CURLLinkButton(wxWindow* parent, wxWindowID id, const wxString& label,
                               const wxPoint& pos, const wxSize& size, long style) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);  // the paint covers the skin under it too
  if ((style & wxBORDER_MASK) == 0) style |= wxBORDER_NONE;
  wxControl::Create(parent, id, pos, size, style);
  wxControl::SetLabel(label);
  SetCursor(HandCursorModule::Hand());
  Bind(wxEVT_PAINT, &CURLLinkButton::OnPaint, this);
  Bind(wxEVT_ENTER_WINDOW, &CURLLinkButton::OnEnter, this);
  Bind(wxEVT_LEAVE_WINDOW, &CURLLinkButton::OnLeave, this);
  Bind(wxEVT_LEFT_DOWN, &CURLLinkButton::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CURLLinkButton::OnLeftUp, this);
  Bind(wxEVT_KILL_FOCUS, &CURLLinkButton::OnKillFocus, this);
  Bind(wxEVT_KEY_DOWN, &CURLLinkButton::OnKey, this);
  Bind(wxEVT_KEY_UP, &CURLLinkButton::OnKey, this);
  Bind(wxEVT_CHAR, &CURLLinkButton::OnKey, this);
  SetInitialSize(size);
}

void CURLLinkButton::SetVisited() {
  if (m_visited) return;
  m_visited = true;
  Refresh();
}

wxColour CURLLinkButton::CurrentTextColour() const {
  if (!IsEnabled()) return wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
  if (m_hovering) return wxSystemSettings::GetColour(wxSYS_COLOUR_HOTLIGHT);
  if (m_visited) return wxColour(128, 0, 128);
  return wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
}

wxFont CURLLinkButton::MakeLinkFont(const wxFont& base) {
  wxFont font = base.IsOk() ? base : *wxNORMAL_FONT;
  font.SetPixelSize(wxSize(0, 14));
  font.SetNumericWeight(800);
  font.SetUnderlined(true);
  return font;
}

void CURLLinkButton::SetLabel(const wxString& label) {
  wxControl::SetLabel(label);
  Refresh();
}

wxSize CURLLinkButton::DoGetBestSize() const {
  const wxFont font = m_linkFont ? *m_linkFont : MakeLinkFont(GetFont());
  int width = 0;
  int height = 0;
  GetTextExtent(GetLabelText(), &width, &height, nullptr, nullptr, &font);
  return wxSize(width, height);
}

void CURLLinkButton::DoEnable(bool enable) {
  wxControl::DoEnable(enable);
  Refresh();
}

void CURLLinkButton::OnPaint(wxPaintEvent&) {
  wxBufferedPaintDC dc(this);
  DrawBackgroundUnder(dc, this);
  if (!m_linkFont) m_linkFont = MakeLinkFont(GetFont());
  dc.SetFont(IsEnabled() ? *m_linkFont : GetFont());
  dc.SetTextForeground(CurrentTextColour());
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawText(GetLabelText(), 0, 0);
}

void CURLLinkButton::OnEnter(wxMouseEvent& event) {
  m_hovering = true;
  Refresh();
  event.Skip();
}

void CURLLinkButton::OnLeave(wxMouseEvent& event) {
  m_hovering = false;
  m_pressed = false;
  Refresh();
  event.Skip();
}

void CURLLinkButton::OnLeftDown(wxMouseEvent& event) {
  m_pressed = true;
  event.Skip();  // lets the toolkit move the focus as usual
}

void CURLLinkButton::OnLeftUp(wxMouseEvent& event) {
  // The toolkit grabs the pointer between press and release, so a release
  // outside still arrives here and must not count as a click.
  const bool click = m_pressed && wxRect(GetClientSize()).Contains(event.GetPosition());
  m_pressed = false;
  if (!click) return;
  wxCommandEvent command(wxEVT_BUTTON, GetId());
  command.SetEventObject(this);
  HandleWindowEvent(command);
}

void CURLLinkButton::OnKillFocus(wxFocusEvent& event) {
  Refresh();
  event.Skip();
}

void CURLLinkButton::OnKey(wxKeyEvent& event) {
  // Space and Enter would otherwise reach the dialog (its default button);
  // the link is followed with the mouse only.
  switch (event.GetKeyCode()) {
    case WXK_SPACE:
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_NUMPAD_SPACE:
      return;
    default:
      event.Skip();
  }
}

}  // namespace vz::widgets
