#include "widgets/TextLayout.h"

#include <wx/dc.h>

namespace vz::widgets {

namespace {

void WrapParagraph(const wxString& paragraph, int width,
                   const std::function<int(const wxString&)>& widthOf,
                   std::vector<wxString>& lines) {
  if (width <= 0 || widthOf(paragraph) <= width) {
    lines.push_back(paragraph);
    return;
  }
  wxString line;
  size_t start = 0;
  while (start <= paragraph.length()) {
    size_t end = paragraph.find(' ', start);
    if (end == wxString::npos) end = paragraph.length();
    const wxString word = paragraph.Mid(start, end - start);
    if (line.empty()) {
      line = word;
    } else if (widthOf(line + ' ' + word) <= width) {
      line += ' ';
      line += word;
    } else {
      lines.push_back(line);
      line = word;
    }
    start = end + 1;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<wxString> WrapLines(const wxString& text, int width,
                                const std::function<int(const wxString&)>& widthOf) {
  std::vector<wxString> lines;
  wxString plain = text;
  plain.Replace("\r\n", "\n");
  plain.Replace("\r", "\n");
  size_t start = 0;
  while (true) {
    const size_t end = plain.find('\n', start);
    WrapParagraph(plain.Mid(start, end == wxString::npos ? wxString::npos : end - start), width,
                  widthOf, lines);
    if (end == wxString::npos) break;
    start = end + 1;
  }
  return lines;
}

void DrawLines(wxDC& dc, const wxRect& box, const std::vector<wxString>& lines, int alignment,
               bool centreVertically) {
  const int lineHeight = dc.GetCharHeight();
  const int total = lineHeight * static_cast<int>(lines.size());
  int y = centreVertically ? box.y + (box.height - total) / 2 : box.y;
  for (const wxString& line : lines) {
    int x = box.x;
    if (alignment & (wxALIGN_RIGHT | wxALIGN_CENTRE_HORIZONTAL)) {
      const int lineWidth = dc.GetTextExtent(line).x;
      x = (alignment & wxALIGN_RIGHT) ? box.GetRight() + 1 - lineWidth
                                      : box.x + (box.width - lineWidth) / 2;
    }
    dc.DrawText(line, x, y);
    y += lineHeight;
  }
}

}  // namespace vz::widgets
