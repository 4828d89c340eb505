#pragma once
// Word-broken text blocks for the controls that paint their own labels.

#include <functional>
#include <vector>

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxDC;

namespace vz::widgets {

// Breaks `text` into lines no wider than `width` (as measured by `widthOf`),
// at spaces and at line feeds. A word wider than `width` keeps a line of its
// own rather than being cut. A width of 0 or less only breaks at line feeds.
std::vector<wxString> WrapLines(const wxString& text, int width,
                                const std::function<int(const wxString&)>& widthOf);

// Draws `lines` inside `box` with the DC's current font and text colour.
// `alignment` takes wxALIGN_RIGHT / wxALIGN_CENTRE_HORIZONTAL (default left);
// `centreVertically` centres the block, otherwise it starts at the top.
void DrawLines(wxDC& dc, const wxRect& box, const std::vector<wxString>& lines, int alignment,
               bool centreVertically);

}  // namespace vz::widgets
