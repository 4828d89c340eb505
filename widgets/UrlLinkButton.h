#pragma once
// An owner-drawn link: bold underlined text over whatever lies behind it,
// coloured for hover, visited and disabled, activated by the mouse only.

#include <optional>

#include <wx/colour.h>
#include <wx/control.h>
#include <wx/font.h>

class wxFocusEvent;
class wxKeyEvent;
class wxMouseEvent;
class wxPaintEvent;

namespace vz::widgets {

class CURLLinkButton : public wxControl {
 public:
  CURLLinkButton(wxWindow* parent, wxWindowID id, const wxString& label,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = 0);

  // Set by the owner once the link has been followed; never cleared.
  void SetVisited();
  bool IsVisited() const { return m_visited; }
  bool IsHovering() const { return m_hovering; }

  // The colour the text is drawn in right now.
  wxColour CurrentTextColour() const;

  // The base font made into the link's: 14 pixels high, weight 800, underlined.
  static wxFont MakeLinkFont(const wxFont& base);

  void SetLabel(const wxString& label) override;

 protected:
  wxSize DoGetBestSize() const override;
  void DoEnable(bool enable) override;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnEnter(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnKey(wxKeyEvent& event);

  bool m_hovering = false;
  bool m_visited = false;
  bool m_pressed = false;
  std::optional<wxFont> m_linkFont;  // made at the first paint
};

}  // namespace vz::widgets
