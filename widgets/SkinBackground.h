#pragma once
// Skins: bitmaps painted unscaled as a window's background, and the window
// shapes cut from them along a transparent colour.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/region.h>

class wxDC;
class wxImage;
class wxNonOwnedWindow;
class wxWindow;

namespace vz::widgets {

// Loads skinFolder/fileName as a BMP. A missing or unreadable file gives an
// invalid bitmap and is never reported: a skinless window is still usable.
wxBitmap LoadSkin(const std::string& skinFolder, std::string_view fileName);

// The BMP at path, or an invalid bitmap when it is missing or unreadable;
// never reported.
wxBitmap LoadBitmapQuietly(const std::string& path);

// Makes `window` paint `skin` unscaled at its client origin as its background;
// the area beyond the bitmap keeps the ordinary background. The window keeps a
// copy of the bitmap for its lifetime (in its client object slot, so that slot
// must be left to this function). Calling it again replaces the skin; an
// invalid bitmap restores the ordinary background.
void PaintSkin(wxWindow* window, const wxBitmap& skin);

// The skin registered for exactly this window by PaintSkin, or nullptr.
const wxBitmap* SkinOf(const wxWindow* window);

// Where a child window lies on the skin that shows through behind it.
struct SkinUnder {
  const wxBitmap* skin = nullptr;  // nullptr: no skin behind the child
  wxWindow* owner = nullptr;       // the skinned window, or the child's parent
  wxPoint offset;                  // the child's client origin in owner's client coordinates
};

// Looks for the skin behind `child`: its parent's, or, when the parent is a
// plain wxPanel without one, the skin further up behind that panel.
SkinUnder FindSkinUnder(const wxWindow* child);

// Fills `child`'s client rectangle on `dc` with what lies behind the child:
// the owner's background colour, then the piece of the skin under the child.
void DrawBackgroundUnder(wxDC& dc, const wxWindow* child);

// Every run of non-transparent pixels, one pixel high, rows from the bottom
// row to the top one and each row left to right. Colours are packed 0xRRGGBB.
std::vector<wxRect> BuildShapeRuns(int width, int height,
                                   const std::function<uint32_t(int x, int y)>& rgbAt,
                                   uint32_t transparentRgb);
std::vector<wxRect> BuildShapeRuns(const wxImage& image, uint32_t transparentRgb);

wxRegion RegionFromRuns(const std::vector<wxRect>& runs);

// A colour component of -1 (as a 16-bit value, so 0xFFFF too) asks for no shape.
bool ShapeRequested(int red, int green, int blue);

constexpr uint32_t PackRgb(unsigned char r, unsigned char g, unsigned char b) {
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}

// The shape ShapeFromSkin gives a window whose client area is `client`.
wxRegion ShapeRegionFor(const wxBitmap& skin, wxColour transparent, wxSize client);

// Shapes `window` to the skin's non-transparent pixels plus all of its client
// area beyond the skin's bounds, so a skin smaller than the window never cuts
// controls away. The window must have the wxFRAME_SHAPED style. Returns false
// (and leaves the window as it is) for an invalid bitmap or a missing style.
bool ShapeFromSkin(wxNonOwnedWindow* window, const wxBitmap& skin, wxColour transparent);

}  // namespace vz::widgets
