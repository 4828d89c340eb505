#pragma once
// Static texts that look transparent over a skinned parent. A native static
// text has no window of its own on GTK and cannot show a skin through, so
// these paint the text themselves over the skin that lies under them. Both
// behave as wxStaticText for SetLabel/GetLabel, so either can replace it.

#include <wx/bitmap.h>
#include <wx/control.h>

class wxDC;
class wxPaintEvent;

namespace vz::widgets {

// Paints its label, word-broken to its width, left aligned unless the style
// has wxALIGN_RIGHT or wxALIGN_CENTRE_HORIZONTAL; grey when disabled.
class CSkinnedLabel : public wxControl {
 public:
  void SetLabel(const wxString& label) override;
  bool AcceptsFocus() const override { return false; }

 protected:
  CSkinnedLabel(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                const wxSize& size, long style);

  // What lies behind the text, covering the whole client area.
  virtual void DrawBackground(wxDC& dc) = 0;
  // Called after a new label is stored.
  virtual void LabelChanged() = 0;

  void DrawLabel(wxDC& dc) const;
  wxSize DoGetBestSize() const override;
  void DoEnable(bool enable) override;

 private:
  void OnPaint(wxPaintEvent& event);
};

// Paints, at every paint, the piece of the parent's skin (see PaintSkin) that
// lies under it, then the text.
class CTransparentStatic : public CSkinnedLabel {
 public:
  CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& label,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                     long style = 0);

 protected:
  void DrawBackground(wxDC& dc) override;
  void LabelChanged() override;
};

// Takes a snapshot of what lies under it at its first paint and paints that
// snapshot, never refreshed, under the text for the rest of its life.
class CTransparentStatic2 : public CSkinnedLabel {
 public:
  CTransparentStatic2(wxWindow* parent, wxWindowID id, const wxString& label,
                      const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                      long style = 0);

  // Invalid until the first paint.
  const wxBitmap& Snapshot() const { return m_snapshot; }

 protected:
  void DrawBackground(wxDC& dc) override;
  void LabelChanged() override;

 private:
  wxBitmap m_snapshot;
};

}  // namespace vz::widgets
