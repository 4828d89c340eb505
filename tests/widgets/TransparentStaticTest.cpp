#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/panel.h>

#include "WidgetTestSupport.h"
#include "widgets/SkinBackground.h"
#include "widgets/TextLayout.h"
#include "widgets/TransparentStatic.h"

namespace vz::widgets {
namespace {

using test::PixelAt;

// Every pixel tells where it is: RGB(x, y, 7).
wxBitmap GradientSkin(int width, int height) {
  wxImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetRGB(x, y, x, y, 7);
  return wxBitmap(image);
}

wxImage BackgroundUnder(const wxWindow* child) {
  wxBitmap bitmap(child->GetClientSize(), 24);
  {
    wxMemoryDC dc(bitmap);
    DrawBackgroundUnder(dc, child);
  }
  return bitmap.ConvertToImage();
}

TEST(WrapLines, BreaksAtSpacesAndLineFeeds) {
  const auto tenPerChar = [](const wxString& s) { return static_cast<int>(s.length()) * 10; };
  struct Case {
    const char* text;
    int width;
    std::vector<wxString> lines;
  };
  for (const Case& c : {Case{"aaa bbb ccc", 75, {"aaa bbb", "ccc"}},
                        Case{"aaa bbb ccc", 200, {"aaa bbb ccc"}},
                        Case{"aaa\nbbb ccc", 200, {"aaa", "bbb ccc"}},
                        Case{"a verylongword b", 50, {"a", "verylongword", "b"}},
                        Case{"aaa bbb", 0, {"aaa bbb"}}, Case{"", 50, {""}}}) {
    EXPECT_EQ(WrapLines(c.text, c.width, tenPerChar), c.lines) << c.text << " @" << c.width;
  }
}

TEST(SkinUnder, LooksThroughPlainPanelsOnly) {
  test::ShownFrame window;
  PaintSkin(window.Panel(), GradientSkin(60, 60));
  auto* inner = new wxPanel(window.Panel(), wxID_ANY, wxPoint(10, 20), wxSize(100, 100));
  auto* label = new CTransparentStatic(inner, wxID_ANY, "x", wxPoint(5, 6), wxSize(50, 10));

  const SkinUnder place = FindSkinUnder(label);
  EXPECT_EQ(place.owner, window.Panel());
  EXPECT_EQ(place.offset, wxPoint(15, 26));
  const wxImage under = BackgroundUnder(label);
  EXPECT_EQ(PixelAt(under, 0, 0), wxColour(15, 26, 7));
  EXPECT_EQ(PixelAt(under, 44, 9), wxColour(59, 35, 7));
  // Beyond the skin: the skinned window's own background colour.
  EXPECT_EQ(PixelAt(under, 45, 0), window.Panel()->GetBackgroundColour());

  // A window that paints itself hides whatever skin lies further up.
  auto* custom = new wxWindow(window.Panel(), wxID_ANY, wxPoint(0, 0), wxSize(50, 50));
  auto* hidden = new CTransparentStatic(custom, wxID_ANY, "y", wxPoint(1, 1), wxSize(10, 10));
  EXPECT_EQ(FindSkinUnder(hidden).skin, nullptr);
  EXPECT_EQ(FindSkinUnder(hidden).owner, custom);
}

TEST(TransparentStatic, LabelsRoundTripLikeAStaticText) {
  test::ShownFrame window;
  CSkinnedLabel* labels[] = {
      new CTransparentStatic(window.Panel(), wxID_ANY, "first", wxPoint(0, 0), wxSize(80, 20)),
      new CTransparentStatic2(window.Panel(), wxID_ANY, "first", wxPoint(0, 30),
                              wxSize(80, 20))};
  for (CSkinnedLabel* label : labels) {
    EXPECT_EQ(label->GetLabel(), "first");
    label->SetLabel("Save && &Close");
    EXPECT_EQ(label->GetLabel(), "Save && &Close");
    EXPECT_EQ(label->GetLabelText(), "Save & Close");
    label->SetLabelText("a & b");
    EXPECT_EQ(label->GetLabelText(), "a & b");
  }
}

TEST(TransparentStatic2, KeepsItsFirstSnapshot) {
  test::ShownFrame window;
  PaintSkin(window.Panel(), GradientSkin(100, 100));
  auto* label =
      new CTransparentStatic2(window.Panel(), wxID_ANY, "kept", wxPoint(10, 12), wxSize(40, 20));
  ASSERT_TRUE(test::RunUntil([&] { return label->Snapshot().IsOk(); }, 3000))
      << "the label was never painted";
  EXPECT_EQ(PixelAt(label->Snapshot().ConvertToImage(), 3, 4), wxColour(13, 16, 7));

  wxImage red(100, 100);
  red.SetRGB(wxRect(0, 0, 100, 100), 255, 0, 0);
  PaintSkin(window.Panel(), wxBitmap(red));
  label->SetLabel("still kept");
  test::RunEventLoop(50);
  EXPECT_EQ(PixelAt(label->Snapshot().ConvertToImage(), 3, 4), wxColour(13, 16, 7));
}

}  // namespace
}  // namespace vz::widgets
