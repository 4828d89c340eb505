#include <climits>
#include <tuple>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "WidgetTestSupport.h"
#include "widgets/TextProgressCtrl.h"

namespace vz::widgets {
namespace {

using test::PixelAt;

const wxColour kBar(0, 0, 255);
const wxColour kBack(255, 255, 255);

ProgressLook LookAt(int lower, int upper, int pos) {
  ProgressLook look;
  look.Lower = lower;
  look.Upper = upper;
  look.Pos = pos;
  look.Bar = kBar;
  look.Background = kBack;
  look.Font = wxFont(wxFontInfo(wxSize(0, 30)).Family(wxFONTFAMILY_SWISS).Bold());
  return look;
}

wxImage Render(const ProgressLook& look, wxSize size, const wxColour& before = kBack) {
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(before));
    dc.Clear();
    DrawTextProgress(dc, wxRect(size), look);
  }
  return bitmap.ConvertToImage();
}

// Where the centred text lands, with a margin for antialiasing.
wxRect TextBox(const ProgressLook& look, wxSize size) {
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  dc.SetFont(look.Font);
  const wxSize text = dc.GetTextExtent(ProgressText(look));
  return wxRect((size.x - text.x) / 2, (size.y - text.y) / 2, text.x, text.y).Inflate(2);
}

struct Tally {
  int bar = 0;
  int back = 0;
  int other = 0;
};

// Counts exact bar and background pixels in columns [x0, x1), inside or
// outside the text box.
Tally Count(const wxImage& image, const wxRect& textBox, bool insideText, int x0, int x1) {
  Tally tally;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = x0; x < x1; ++x) {
      if (textBox.Contains(x, y) != insideText) continue;
      const wxColour c = PixelAt(image, x, y);
      (c == kBar ? tally.bar : c == kBack ? tally.back : tally.other)++;
    }
  }
  return tally;
}

TEST(ProgressText, PercentageOrFixedText) {
  struct Case {
    int lower, upper, pos;
    const char* fixed;
    const char* expected;
  };
  for (const Case& c : {Case{0, 100, 37, "", "37 %"}, Case{0, 100, 0, "", "0 %"},
                        Case{0, 200, 100, "", "50 %"}, Case{10, 20, 15, "", "50 %"},
                        Case{0, 100, 150, "", "150 %"}, Case{0, 100, 37, "Scanning", "Scanning"},
                        Case{0, 0, 5, "", "0 %"}}) {
    ProgressLook look = LookAt(c.lower, c.upper, c.pos);
    look.FixedText = c.fixed;
    EXPECT_EQ(ProgressText(look), c.expected) << c.lower << ".." << c.upper << " @" << c.pos;
  }
}

TEST(BarLength, ScalesTruncatesAndNeverOverflows) {
  struct Case {
    int extent, lower, upper, pos, expected;
  };
  for (const Case& c : {Case{200, 0, 100, 37, 74}, Case{50, 0, 1000, 10, 0},
                        Case{50, 0, 1000, 11, 0}, Case{50, 0, 1000, 20, 1},
                        Case{100, 0, 100, 150, 150}, Case{100, 0, 100, -10, -10},
                        Case{100, 5, 5, 5, 0}, Case{100, 9, 5, 7, 0}}) {
    EXPECT_EQ(BarLength(c.extent, c.lower, c.upper, c.pos), c.expected)
        << c.extent << " " << c.lower << ".." << c.upper << " @" << c.pos;
  }
  EXPECT_GT(BarLength(10000, 0, 1, INT_MAX), 10000);
  EXPECT_LT(BarLength(10000, INT_MAX - 1, INT_MAX, INT_MIN), 0);
}

TEST(DrawTextProgress, EmptyAndFullBarsShowTheTextInTheOtherColour) {
  const wxSize size(160, 48);
  for (const auto& [pos, around, text] : {std::tuple{0, kBack, kBar}, std::tuple{100, kBar, kBack}}) {
    const ProgressLook look = LookAt(0, 100, pos);
    const wxImage image = Render(look, size, wxColour(0, 255, 0));
    const wxRect box = TextBox(look, size);
    const Tally outside = Count(image, box, false, 0, size.x);
    EXPECT_EQ(around == kBar ? outside.back + outside.other : outside.bar + outside.other, 0)
        << pos;
    const Tally inside = Count(image, box, true, 0, size.x);
    EXPECT_GT(text == kBar ? inside.bar : inside.back, 20) << pos;
  }
}

TEST(DrawTextProgress, TheEdgeSplitsBarAndText) {
  const wxSize size(160, 48);
  const ProgressLook look = LookAt(0, 100, 37);
  const int edge = 59;  // (int)(160 * 0.37)
  const wxImage image = Render(look, size, wxColour(0, 255, 0));
  const wxRect box = TextBox(look, size);
  ASSERT_LT(box.x + 6, edge) << "the text must straddle the edge for this test";
  ASSERT_GT(box.GetRight() - 6, edge);

  const Tally filled = Count(image, box, false, 0, edge);
  EXPECT_EQ(filled.back + filled.other, 0);
  const Tally empty = Count(image, box, false, edge, size.x);
  EXPECT_EQ(empty.bar + empty.other, 0);
  // The text shows on both sides: background colour over the bar, bar
  // colour over the rest.
  EXPECT_GT(Count(image, box, true, 0, edge).back, 5);
  EXPECT_GT(Count(image, box, true, edge, size.x).bar, 5);
  // Rows clear of the text show the edge at exactly the right column.
  EXPECT_EQ(PixelAt(image, edge - 1, 0), kBar);
  EXPECT_EQ(PixelAt(image, edge, 0), kBack);
}

TEST(DrawTextProgress, EmptyRangeDrawsNothing) {
  const wxColour green(0, 255, 0);
  for (const auto& range : {std::pair{0, 0}, std::pair{50, 10}}) {
    const wxImage image = Render(LookAt(range.first, range.second, 0), wxSize(40, 20), green);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(PixelAt(image, x, y), green) << x << "," << y;
  }
}

TEST(DrawTextProgress, VerticalFillsFromTheBottomWithoutText) {
  const wxSize size(20, 100);
  ProgressLook look = LookAt(0, 100, 25);
  look.Vertical = true;
  const wxImage image = Render(look, size, wxColour(0, 255, 0));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(PixelAt(image, x, y), y >= 75 ? kBar : kBack) << x << "," << y;
}

class ProgressControl : public testing::Test {
 protected:
  test::ShownFrame window;
  CTextProgressCtrl* bar =
      new CTextProgressCtrl(window.Panel(), wxID_ANY, wxPoint(10, 10), wxSize(50, 20));
};

TEST_F(ProgressControl, RepaintsOnlyWhenTheEdgeMoves) {
  test::RunEventLoop(30);
  bar->SetRange(0, 1000);
  int repaints = bar->RepaintCount();

  EXPECT_EQ(bar->SetPos(100), 0);  // 5 pixels
  EXPECT_EQ(bar->RepaintCount(), ++repaints);
  EXPECT_EQ(bar->SetPos(100), 100);
  EXPECT_EQ(bar->RepaintCount(), repaints);
  bar->SetPos(10);  // 0 pixels
  EXPECT_EQ(bar->RepaintCount(), ++repaints);
  bar->SetPos(11);  // still 0 pixels
  EXPECT_EQ(bar->RepaintCount(), repaints);

  bar->SetSize(wxSize(60, 20));
  test::RunEventLoop(30);
  repaints = bar->RepaintCount();
  bar->SetPos(11);  // the same length, but at a new size
  EXPECT_EQ(bar->RepaintCount(), repaints + 1);
}

TEST_F(ProgressControl, StepsOffsetsAndRange) {
  bar->SetRange(-10, 10);
  int lower = 0, upper = 0;
  bar->GetRange(&lower, &upper);
  EXPECT_EQ(lower, -10);
  EXPECT_EQ(upper, 10);
  EXPECT_EQ(bar->SetStep(4), 1);
  EXPECT_EQ(bar->StepIt(), 0);
  EXPECT_EQ(bar->StepIt(), 4);
  EXPECT_EQ(bar->OffsetPos(-20), 8);
  EXPECT_EQ(bar->GetPos(), -12);  // not clamped to the range
  bar->SetPos(INT_MAX);
  EXPECT_EQ(bar->StepIt(), INT_MAX);
  EXPECT_EQ(bar->GetPos(), INT_MAX);
}

}  // namespace
}  // namespace vz::widgets
