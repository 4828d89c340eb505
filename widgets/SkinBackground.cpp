#include "widgets/SkinBackground.h"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/nonownedwnd.h>
#include <wx/panel.h>
#include <wx/window.h>

namespace vz::widgets {

namespace {

// The skin lives in the window's client object so that it dies with the window
// and a child can find it through its parent without any global registry.
class SkinData final : public wxClientData {
 public:
  explicit SkinData(const wxBitmap& skin) : Skin(skin) {}
  wxBitmap Skin;
};

SkinData* SkinDataOf(const wxWindow* window) {
  return window ? dynamic_cast<SkinData*>(window->GetClientObject()) : nullptr;
}

bool IsPlainPanel(const wxWindow* window) {
  return window->GetClassInfo() == wxCLASSINFO(wxPanel) && !window->IsTopLevel();
}

}  // namespace

wxBitmap LoadSkin(const std::string& skinFolder, std::string_view fileName) {
  std::string path = skinFolder;
  path += '/';
  path += fileName;
  return LoadBitmapQuietly(path);
}

wxBitmap LoadBitmapQuietly(const std::string& path) {
  wxLogNull quiet;  // a missing picture is normal for a stripped-down install
  const wxString name(path.c_str(), *wxConvFileName);
  if (name.empty() || !wxFileName::FileExists(name)) return wxBitmap();
  wxBitmap skin;
  if (!skin.LoadFile(name, wxBITMAP_TYPE_BMP) || !skin.IsOk()) return wxBitmap();
  return skin;
}

void PaintSkin(wxWindow* window, const wxBitmap& skin) {
  if (!window) return;
  if (SkinData* data = SkinDataOf(window)) {
    data->Skin = skin;
    window->Refresh();
    return;
  }
  window->SetClientObject(new SkinData(skin));  // owned and deleted by the window
  window->Bind(wxEVT_PAINT, [window](wxPaintEvent& event) {
    const SkinData* data = SkinDataOf(window);
    if (!data || !data->Skin.IsOk()) {
      event.Skip();
      return;
    }
    // The toolkit has already laid the ordinary background, which is what
    // stays visible beyond the bitmap.
    wxPaintDC dc(window);
    dc.DrawBitmap(data->Skin, 0, 0, false);
  });
  window->Refresh();
}

const wxBitmap* SkinOf(const wxWindow* window) {
  const SkinData* data = SkinDataOf(window);
  return data && data->Skin.IsOk() ? &data->Skin : nullptr;
}

SkinUnder FindSkinUnder(const wxWindow* child) {
  SkinUnder place;
  if (!child || !child->GetParent()) return place;
  place.owner = child->GetParent();
  place.offset = child->GetPosition();
  wxPoint offset = child->GetPosition();
  for (wxWindow* window = child->GetParent(); window; window = window->GetParent()) {
    if (const wxBitmap* skin = SkinOf(window)) {
      place.skin = skin;
      place.owner = window;
      place.offset = offset;
      return place;
    }
    // Dialogs often put their controls on a plain panel filling the skinned
    // window; look through it, but not through anything that paints itself.
    if (!IsPlainPanel(window)) break;
    offset += window->GetPosition();
  }
  return place;
}

void DrawBackgroundUnder(wxDC& dc, const wxWindow* child) {
  if (!child) return;
  const SkinUnder place = FindSkinUnder(child);
  const wxSize size = child->GetClientSize();
  const wxColour colour =
      place.owner ? place.owner->GetBackgroundColour() : child->GetBackgroundColour();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(0, 0, size.x, size.y);
  if (place.skin) dc.DrawBitmap(*place.skin, -place.offset.x, -place.offset.y, false);
}

std::vector<wxRect> BuildShapeRuns(int width, int height,
                                   const std::function<uint32_t(int x, int y)>& rgbAt,
                                   uint32_t transparentRgb) {
  std::vector<wxRect> runs;
  const uint32_t transparent = transparentRgb & 0xFFFFFFu;
  auto opaque = [&](int x, int y) { return (rgbAt(x, y) & 0xFFFFFFu) != transparent; };
  for (int y = height - 1; y >= 0; --y) {
    int x = 0;
    while (x < width) {
      while (x < width && !opaque(x, y)) ++x;
      if (x == width) break;
      const int first = x;
      while (x < width && opaque(x, y)) ++x;
      runs.emplace_back(first, y, x - first, 1);
    }
  }
  return runs;
}

std::vector<wxRect> BuildShapeRuns(const wxImage& image, uint32_t transparentRgb) {
  if (!image.IsOk()) return {};
  const unsigned char* data = image.GetData();
  const int width = image.GetWidth();
  return BuildShapeRuns(
      width, image.GetHeight(),
      [data, width](int x, int y) {
        const unsigned char* p = data + (static_cast<size_t>(y) * width + x) * 3;
        return PackRgb(p[0], p[1], p[2]);
      },
      transparentRgb);
}

wxRegion RegionFromRuns(const std::vector<wxRect>& runs) {
  wxRegion region;
  for (const wxRect& run : runs) region.Union(run);
  return region;
}

bool ShapeRequested(int red, int green, int blue) {
  auto none = [](int c) { return static_cast<short>(c) == -1; };
  return !none(red) && !none(green) && !none(blue);
}

wxRegion ShapeRegionFor(const wxBitmap& skin, wxColour transparent, wxSize client) {
  if (!skin.IsOk() || !transparent.IsOk()) return wxRegion();
  const wxImage image = skin.ConvertToImage();
  wxRegion region = RegionFromRuns(
      BuildShapeRuns(image, PackRgb(transparent.Red(), transparent.Green(), transparent.Blue())));
  const int width = image.GetWidth();
  const int height = image.GetHeight();
  if (client.x > width) region.Union(width, 0, client.x - width, client.y);
  if (client.y > height) region.Union(0, height, client.x, client.y - height);
  return region;
}

bool ShapeFromSkin(wxNonOwnedWindow* window, const wxBitmap& skin, wxColour transparent) {
  if (!window || !skin.IsOk() || !transparent.IsOk() || !window->HasFlag(wxFRAME_SHAPED))
    return false;
  return window->SetShape(ShapeRegionFor(skin, transparent, window->GetClientSize()));
}

}  // namespace vz::widgets
