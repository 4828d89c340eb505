#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/log.h>

#include "WidgetTestSupport.h"
#include "widgets/SkinBackground.h"

namespace vz::widgets {
namespace {

constexpr uint32_t kT = 0xFF00F0;  // the transparent colour
constexpr uint32_t kO = 0x102030;  // any other

// Rows of packed pixels, top row first.
using Picture = std::vector<std::vector<uint32_t>>;

std::vector<wxRect> Runs(const Picture& rows) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows[0].size()) : 0;
  return BuildShapeRuns(width, height, [&rows](int x, int y) { return rows[y][x]; }, kT);
}

TEST(ShapeRuns, TransparentBorderLeavesExactlyTheInside) {
  const Picture rows = {{kT, kT, kT, kT, kT},
                        {kT, kO, kO, kO, kT},
                        {kT, kO, kO, kO, kT},
                        {kT, kT, kT, kT, kT}};
  EXPECT_EQ(Runs(rows), (std::vector<wxRect>{{1, 2, 3, 1}, {1, 1, 3, 1}}));
}

TEST(ShapeRuns, NoTransparentPixelGivesTheWholeRectangle) {
  const Picture rows(3, std::vector<uint32_t>(4, kO));
  const auto runs = Runs(rows);
  EXPECT_EQ(runs, (std::vector<wxRect>{{0, 2, 4, 1}, {0, 1, 4, 1}, {0, 0, 4, 1}}));
  wxRegion rest = RegionFromRuns(runs);
  rest.Xor(wxRect(0, 0, 4, 3));
  EXPECT_TRUE(rest.IsEmpty());
}

TEST(ShapeRuns, RunsEndAtTheRightEdgeAndSplitAtGaps) {
  const Picture rows = {{kT, kT, kT, kT, kT, kO},
                        {kO, kO, kT, kT, kO, kO},
                        {kT, kT, kT, kT, kT, kT}};
  EXPECT_EQ(Runs(rows), (std::vector<wxRect>{{0, 1, 2, 1}, {4, 1, 2, 1}, {5, 0, 1, 1}}));
}

TEST(ShapeRuns, OnlyTheExactColourIsTransparent) {
  const Picture rows = {{kT, kT - 1, kT + 0x100, kT}};
  EXPECT_EQ(Runs(rows), (std::vector<wxRect>{{1, 0, 2, 1}}));
}

TEST(ShapeRequested, MinusOneInAnyComponentMeansNoShape) {
  struct Case {
    int r, g, b;
    bool requested;
  };
  for (const Case& c : {Case{255, 0, 240, true}, Case{0, 0, 0, true}, Case{-1, 0, 240, false},
                        Case{255, -1, 240, false}, Case{255, 0, -1, false},
                        Case{0xFFFF, 0, 240, false}, Case{0xFFFE, 0, 240, true}}) {
    EXPECT_EQ(ShapeRequested(c.r, c.g, c.b), c.requested) << c.r << "," << c.g << "," << c.b;
  }
}

wxBitmap TwoByTwoSkinWithTransparentCorner() {
  wxImage image(2, 2);
  image.SetRGB(wxRect(0, 0, 2, 2), 10, 20, 30);
  image.SetRGB(0, 0, 255, 0, 240);
  return wxBitmap(image);
}

TEST(ShapeRegion, AreaBeyondTheSkinStaysInTheWindow) {
  const wxRegion shape =
      ShapeRegionFor(TwoByTwoSkinWithTransparentCorner(), wxColour(255, 0, 240), wxSize(5, 4));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool inside = !(x == 0 && y == 0);
      EXPECT_EQ(shape.Contains(x, y) == wxInRegion, inside) << x << "," << y;
    }
  }
}

// Counts what reaches the log, to prove a missing skin stays silent.
class CountingLog : public wxLog {
 public:
  int Messages = 0;

 protected:
  void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override { ++Messages; }
};

TEST(LoadSkin, MissingOrBrokenFilesGiveAnInvalidBitmapSilently) {
  const auto folder = std::filesystem::temp_directory_path() / "vz-widgets-skin";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Broken.bmp") << "BM this is not a picture";
  wxImage good(3, 2);
  good.SetRGB(wxRect(0, 0, 3, 2), 1, 2, 3);
  ASSERT_TRUE(good.SaveFile((folder / "Good.bmp").string(), wxBITMAP_TYPE_BMP));

  CountingLog counter;
  wxLog* previous = wxLog::SetActiveTarget(&counter);
  const wxBitmap missing = LoadSkin(folder.string(), "Missing.bmp");
  const wxBitmap broken = LoadSkin(folder.string(), "Broken.bmp");
  const wxBitmap loaded = LoadSkin(folder.string(), "Good.bmp");
  wxLog::FlushActive();
  wxLog::SetActiveTarget(previous);

  EXPECT_FALSE(missing.IsOk());
  EXPECT_FALSE(broken.IsOk());
  ASSERT_TRUE(loaded.IsOk());
  EXPECT_EQ(loaded.GetSize(), wxSize(3, 2));
  EXPECT_EQ(counter.Messages, 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vz::widgets
