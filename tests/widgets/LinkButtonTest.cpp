#include <gtest/gtest.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include "WidgetTestSupport.h"
#include "widgets/UrlLinkButton.h"

namespace vz::widgets {
namespace {

class LinkButton : public testing::Test {
 protected:
  LinkButton() {
    window.Panel()->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
      ++clicks;
      clickedId = event.GetId();
    });
  }

  void Mouse(wxEventType type, wxPoint at = wxPoint(2, 2)) {
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.SetEventObject(link);
    link->HandleWindowEvent(event);
  }

  // True when the link swallowed the key.
  bool Key(wxEventType type, int code) {
    wxKeyEvent event(type);
    event.m_keyCode = code;
    event.SetEventObject(link);
    return link->HandleWindowEvent(event);
  }

  test::ShownFrame window;
  CURLLinkButton* link = new CURLLinkButton(window.Panel(), 1234, "Visit the site",
                                            wxPoint(10, 10), wxSize(120, 20));
  int clicks = 0;
  int clickedId = 0;
};

TEST_F(LinkButton, ColourFollowsHoverVisitedAndDisabled) {
  EXPECT_EQ(link->CurrentTextColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
  link->SetVisited();
  EXPECT_TRUE(link->IsVisited());
  EXPECT_EQ(link->CurrentTextColour(), wxColour(128, 0, 128));
  Mouse(wxEVT_ENTER_WINDOW);
  EXPECT_TRUE(link->IsHovering());
  EXPECT_EQ(link->CurrentTextColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HOTLIGHT));
  Mouse(wxEVT_LEAVE_WINDOW);
  EXPECT_FALSE(link->IsHovering());
  EXPECT_EQ(link->CurrentTextColour(), wxColour(128, 0, 128));
  link->Disable();
  EXPECT_EQ(link->CurrentTextColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
  link->Enable();
  EXPECT_TRUE(link->IsVisited());  // never cleared
}

TEST_F(LinkButton, ClickInsideSendsTheButtonEvent) {
  Mouse(wxEVT_LEFT_DOWN);
  Mouse(wxEVT_LEFT_UP);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(clickedId, 1234);

  Mouse(wxEVT_LEFT_DOWN);
  Mouse(wxEVT_LEFT_UP, wxPoint(500, 5));  // released elsewhere
  Mouse(wxEVT_LEFT_UP);                   // a release without a press
  EXPECT_EQ(clicks, 1);
}

TEST_F(LinkButton, KeyboardNeverActivatesIt) {
  for (int code : {WXK_SPACE, WXK_RETURN, WXK_NUMPAD_ENTER}) {
    EXPECT_TRUE(Key(wxEVT_KEY_DOWN, code)) << code;
    EXPECT_TRUE(Key(wxEVT_CHAR, code)) << code;
    EXPECT_TRUE(Key(wxEVT_KEY_UP, code)) << code;
  }
  EXPECT_FALSE(Key(wxEVT_KEY_DOWN, 'A'));  // other keys go on as usual
  EXPECT_EQ(clicks, 0);
}

TEST(LinkFont, BoldUnderlinedFourteenPixels) {
  const wxFont font = CURLLinkButton::MakeLinkFont(*wxNORMAL_FONT);
  EXPECT_EQ(font.GetNumericWeight(), 800);
  EXPECT_TRUE(font.GetUnderlined());
  EXPECT_NEAR(font.GetPixelSize().y, 14, 1);
}

}  // namespace
}  // namespace vz::widgets
