#include "widgets/TransparentStatic.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "widgets/SkinBackground.h"
#include "widgets/TextLayout.h"

namespace vz::widgets {

CSkinnedLabel::CSkinnedLabel(wxWindow* parent, wxWindowID id, const wxString& label,
                             const wxPoint& pos, const wxSize& size, long style) {
  // The background comes from the skin, drawn with the text in one buffered
  // paint; letting the toolkit erase first would only flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if ((style & wxBORDER_MASK) == 0) style |= wxBORDER_NONE;
  wxControl::Create(parent, id, pos, size, style);
  wxControl::SetLabel(label);  // not the virtual one: the derived object is not built yet
  Bind(wxEVT_PAINT, &CSkinnedLabel::OnPaint, this);
  SetInitialSize(size);
}

void CSkinnedLabel::SetLabel(const wxString& label) {
  wxControl::SetLabel(label);
  LabelChanged();
}

void CSkinnedLabel::DrawLabel(wxDC& dc) const {
  const wxSize client = GetClientSize();
  dc.SetFont(GetFont());
  dc.SetTextForeground(IsEnabled() ? GetForegroundColour()
                                   : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const auto lines = WrapLines(GetLabelText(), client.x,
                               [&dc](const wxString& s) { return dc.GetTextExtent(s).x; });
  DrawLines(dc, wxRect(client), lines, GetAlignment(), false);
}

wxSize CSkinnedLabel::DoGetBestSize() const {
  const auto lines = WrapLines(GetLabelText(), 0, [](const wxString&) { return 0; });
  int width = 0;
  for (const wxString& line : lines) width = std::max(width, GetTextExtent(line).x);
  return wxSize(width, GetCharHeight() * static_cast<int>(lines.size()));
}

void CSkinnedLabel::DoEnable(bool enable) {
  wxControl::DoEnable(enable);
  Refresh();
}

void CSkinnedLabel::OnPaint(wxPaintEvent&) {
  wxBufferedPaintDC dc(this);
  DrawBackground(dc);
  DrawLabel(dc);
}

CTransparentStatic::CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& label,
                                       const wxPoint& pos, const wxSize& size, long style)
    : CSkinnedLabel(parent, id, label, pos, size, style) {}

void CTransparentStatic::DrawBackground(wxDC& dc) { DrawBackgroundUnder(dc, this); }

void CTransparentStatic::LabelChanged() {
  // The parent's skin wipes the old text first, where the parent draws under
  // its children; then the new text is painted over the skin.
  if (wxWindow* parent = GetParent()) {
    parent->RefreshRect(GetRect(), true);
    parent->Update();
  }
  Refresh();
}

CTransparentStatic2::CTransparentStatic2(wxWindow* parent, wxWindowID id, const wxString& label,
                                         const wxPoint& pos, const wxSize& size, long style)
    : CSkinnedLabel(parent, id, label, pos, size, style) {}

void CTransparentStatic2::DrawBackground(wxDC& dc) {
  const wxSize client = GetClientSize();
  if (!m_snapshot.IsOk() && client.x > 0 && client.y > 0) {
    wxBitmap snapshot(client);
    {
      wxMemoryDC memory(snapshot);
      DrawBackgroundUnder(memory, this);
    }
    m_snapshot = snapshot;
  }
  if (!m_snapshot.IsOk()) return;
  // Should the control have grown since, the parent's colour fills the rest.
  if (client.x > m_snapshot.GetWidth() || client.y > m_snapshot.GetHeight()) {
    const wxWindow* parent = GetParent();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(parent ? parent->GetBackgroundColour() : GetBackgroundColour()));
    dc.DrawRectangle(wxRect(client));
  }
  dc.DrawBitmap(m_snapshot, 0, 0, false);
}

void CTransparentStatic2::LabelChanged() {
  Refresh(true);
  Update();
}

}  // namespace vz::widgets
