#include "widgets/TextProgressCtrl.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace vz::widgets {

namespace {

// Far beyond any screen, yet safe to convert to int and to add a rectangle's
// origin to.
constexpr double kPixelLimit = 1.0e8;

int ToPixels(double value) {
  return static_cast<int>(std::clamp(value, -kPixelLimit, kPixelLimit));
}

double Fraction(int lower, int upper, int pos) {
  return (static_cast<double>(pos) - lower) / (static_cast<double>(upper) - lower);
}

int AddSaturated(int a, int b) {
  const int64_t sum = int64_t{a} + b;
  return static_cast<int>(std::clamp<int64_t>(sum, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

}  // namespace

int BarLength(int extent, int lower, int upper, int pos) {
  if (lower >= upper) return 0;
  return ToPixels(extent * Fraction(lower, upper, pos));
}

wxString ProgressText(const ProgressLook& look) {
  if (!look.FixedText.empty()) return look.FixedText;
  const int percent =
      look.Lower < look.Upper ? ToPixels(Fraction(look.Lower, look.Upper, look.Pos) * 100) : 0;
  return wxString::Format("%d %%", percent);
}

void DrawTextProgress(wxDC& dc, const wxRect& client, const ProgressLook& look) {
  if (look.Lower >= look.Upper || client.IsEmpty()) return;

  // The unclamped length may run past either end; only what lies inside the
  // client rectangle is drawn.
  wxRect filled = client;
  wxRect empty = client;
  if (look.Vertical) {
    const int length =
        std::clamp(BarLength(client.height, look.Lower, look.Upper, look.Pos), 0, client.height);
    filled.y = client.GetBottom() + 1 - length;
    filled.height = length;
    empty.height = client.height - length;
  } else {
    const int length =
        std::clamp(BarLength(client.width, look.Lower, look.Upper, look.Pos), 0, client.width);
    filled.width = length;
    empty.x = client.x + length;
    empty.width = client.width - length;
  }

  dc.SetPen(*wxTRANSPARENT_PEN);
  if (!filled.IsEmpty()) {
    dc.SetBrush(wxBrush(look.Bar));
    dc.DrawRectangle(filled);
  }
  if (!empty.IsEmpty()) {
    dc.SetBrush(wxBrush(look.Background));
    dc.DrawRectangle(empty);
  }

  if (!look.ShowText || look.Vertical) return;
  const wxString text = ProgressText(look);
  if (look.Font.IsOk()) dc.SetFont(look.Font);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxSize extent = dc.GetTextExtent(text);
  const wxPoint at(client.x + (client.width - extent.x) / 2,
                   client.y + (client.height - extent.y) / 2);
  // The same text twice, each clipped to one side of the edge, so that it
  // stays readable wherever the edge cuts through it.
  if (!filled.IsEmpty()) {
    wxDCClipper clip(dc, filled);
    dc.SetTextForeground(look.Text.value_or(look.Background));
    dc.DrawText(text, at);
  }
  if (!empty.IsEmpty()) {
    wxDCClipper clip(dc, empty);
    dc.SetTextForeground(look.Text.value_or(look.Bar));
    dc.DrawText(text, at);
  }
}

CTextProgressCtrl::CTextProgressCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                     const wxSize& size, long style) {
  // Every paint covers the whole control from an off-screen buffer, so the
  // background is never erased first: no flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if ((style & wxBORDER_MASK) == 0) style |= wxBORDER_NONE;
  wxControl::Create(parent, id, pos, size, style);
  Bind(wxEVT_PAINT, &CTextProgressCtrl::OnPaint, this);
  Bind(wxEVT_SIZE, &CTextProgressCtrl::OnSize, this);
  SetInitialSize(size);
}

void CTextProgressCtrl::SetRange(int lower, int upper) {
  m_lower = lower;
  m_upper = upper;
  m_lastBarLength = -1;
  ApplyPos(m_pos);
}

void CTextProgressCtrl::GetRange(int* lower, int* upper) const {
  if (lower) *lower = m_lower;
  if (upper) *upper = m_upper;
}

int CTextProgressCtrl::SetPos(int pos) {
  const int previous = m_pos;
  ApplyPos(pos);
  return previous;
}

int CTextProgressCtrl::OffsetPos(int delta) {
  const int previous = m_pos;
  ApplyPos(AddSaturated(m_pos, delta));
  return previous;
}

int CTextProgressCtrl::SetStep(int step) {
  const int previous = m_step;
  m_step = step;
  return previous;
}

int CTextProgressCtrl::StepIt() {
  const int previous = m_pos;
  ApplyPos(AddSaturated(m_pos, m_step));
  return previous;
}

std::optional<wxColour> CTextProgressCtrl::SetBarColour(std::optional<wxColour> colour) {
  std::swap(m_barColour, colour);
  RepaintNow();
  return colour;
}

std::optional<wxColour> CTextProgressCtrl::SetBkColour(std::optional<wxColour> colour) {
  std::swap(m_bkColour, colour);
  RepaintNow();
  return colour;
}

std::optional<wxColour> CTextProgressCtrl::SetTextColour(std::optional<wxColour> colour) {
  std::swap(m_textColour, colour);
  RepaintNow();
  return colour;
}

void CTextProgressCtrl::SetShowText(bool show) {
  if (show == m_showText) return;
  m_showText = show;
  RepaintNow();
}

void CTextProgressCtrl::SetFixedText(const wxString& text) {
  if (text == m_fixedText) return;
  m_fixedText = text;
  RepaintNow();
}

ProgressLook CTextProgressCtrl::Look() const {
  ProgressLook look;
  look.Lower = m_lower;
  look.Upper = m_upper;
  look.Pos = m_pos;
  look.Vertical = IsVertical();
  look.ShowText = m_showText;
  look.FixedText = m_fixedText;
  look.Bar = m_barColour.value_or(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
  look.Background = m_bkColour.value_or(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
  look.Text = m_textColour;
  look.Font = GetFont();
  return look;
}

wxSize CTextProgressCtrl::DoGetBestSize() const {
  const wxSize along(FromDIP(150), GetCharHeight() + FromDIP(8));
  return IsVertical() ? wxSize(along.y, along.x) : along;
}

// Repaints only when the bar's edge moves by a pixel: a busy caller may set
// the position thousands of times a second.
void CTextProgressCtrl::ApplyPos(int pos) {
  m_pos = pos;
  const wxSize client = GetClientSize();
  const int length = BarLength(IsVertical() ? client.y : client.x, m_lower, m_upper, m_pos);
  if (length == m_lastBarLength) return;
  m_lastBarLength = length;
  RepaintNow();
}

void CTextProgressCtrl::RepaintNow() {
  ++m_repaints;
  Refresh(false);
  Update();
}

void CTextProgressCtrl::OnPaint(wxPaintEvent&) {
  wxBufferedPaintDC dc(this);
  const ProgressLook look = Look();
  // The buffer starts undefined, and an empty range draws nothing.
  dc.SetBackground(wxBrush(look.Background));
  dc.Clear();
  DrawTextProgress(dc, wxRect(GetClientSize()), look);
}

void CTextProgressCtrl::OnSize(wxSizeEvent& event) {
  m_lastBarLength = -1;  // the next position always repaints at the new size
  Refresh(false);
  event.Skip();
}

}  // namespace vz::widgets
