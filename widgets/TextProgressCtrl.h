#pragma once
// A progress bar that paints itself and shows its percentage (or a fixed
// text) across the bar, in the background colour over the filled side and in
// the bar colour over the empty side.

#include <optional>

#include <wx/colour.h>
#include <wx/control.h>
#include <wx/font.h>
#include <wx/gauge.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxDC;
class wxPaintEvent;
class wxSizeEvent;

namespace vz::widgets {

// Everything a frame of the bar depends on, with the colours already resolved
// except the text colour, whose default depends on the side of the edge.
struct ProgressLook {
  int Lower = 0;
  int Upper = 100;
  int Pos = 0;
  bool Vertical = false;
  bool ShowText = true;
  wxString FixedText;
  wxColour Bar;
  wxColour Background;
  std::optional<wxColour> Text;
  wxFont Font;
};

// Length in pixels of the filled side of a bar `extent` pixels long; 0 for an
// empty range. Positions outside the range are not clamped, only kept within
// what a pixel coordinate can hold.
int BarLength(int extent, int lower, int upper, int pos);

// The fixed text if any, otherwise the percentage, e.g. "37 %".
wxString ProgressText(const ProgressLook& look);

// Draws one frame of the bar on `client`. Draws nothing for an empty range.
void DrawTextProgress(wxDC& dc, const wxRect& client, const ProgressLook& look);

class CTextProgressCtrl : public wxControl {
 public:
  CTextProgressCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize, long style = wxGA_HORIZONTAL);

  void SetRange(int lower, int upper);
  void GetRange(int* lower, int* upper) const;
  int SetPos(int pos);  // returns the previous position
  int OffsetPos(int delta);  // returns the previous position
  int SetStep(int step);  // returns the previous step
  int StepIt();  // returns the previous position
  int GetPos() const { return m_pos; }

  // An unset colour means the system default; each returns the previous one.
  std::optional<wxColour> SetBarColour(std::optional<wxColour> colour);
  std::optional<wxColour> SetBkColour(std::optional<wxColour> colour);
  std::optional<wxColour> SetTextColour(std::optional<wxColour> colour);

  void SetShowText(bool show);
  bool GetShowText() const { return m_showText; }
  void SetFixedText(const wxString& text);  // empty: show the percentage
  const wxString& GetFixedText() const { return m_fixedText; }

  // The frame the next paint would draw.
  ProgressLook Look() const;

  // Immediate repaints asked for so far (for tests).
  int RepaintCount() const { return m_repaints; }

  bool AcceptsFocus() const override { return false; }

 protected:
  wxSize DoGetBestSize() const override;

 private:
  bool IsVertical() const { return HasFlag(wxGA_VERTICAL); }
  void ApplyPos(int pos);
  void RepaintNow();
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);

  int m_lower = 0;
  int m_upper = 100;
  int m_pos = 0;
  int m_step = 1;
  bool m_showText = true;
  wxString m_fixedText;
  std::optional<wxColour> m_barColour;
  std::optional<wxColour> m_bkColour;
  std::optional<wxColour> m_textColour;
  int m_lastBarLength = -1;
  int m_repaints = 0;
};

}  // namespace vz::widgets
