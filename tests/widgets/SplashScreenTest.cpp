#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/weakref.h>

#include "WidgetTestSupport.h"
#include "widgets/SplashScreen.h"

namespace vz::widgets {
namespace {

using Splash = CSplashScreenEx;

// A 20x16 picture in the transparent colour RGB(255,0,240) with an L drawn
// in black, and one pixel only one step off the transparent colour.
class SplashPicture : public testing::Test {
 protected:
  SplashPicture() {
    std::filesystem::create_directories(folder);
    image.Create(20, 16);
    image.SetRGB(wxRect(0, 0, 20, 16), 255, 0, 240);
    image.SetRGB(wxRect(2, 2, 3, 12), 0, 0, 0);
    image.SetRGB(wxRect(2, 11, 14, 3), 0, 0, 0);
    image.SetRGB(18, 1, 254, 0, 240);
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_BMP));
  }
  ~SplashPicture() override { std::filesystem::remove_all(folder); }

  bool Opaque(int x, int y) const {
    return !(image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 0 &&
             image.GetBlue(x, y) == 240);
  }

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "vz-widgets-splash";
  const std::string path = (folder / "Flash.bmp").string();
  wxImage image;
};

TEST_F(SplashPicture, MissingPictureFailsAndKeepsThePreviousOne) {
  Splash* splash = Splash::Create(nullptr, "", 0, 0);
  ASSERT_NE(splash, nullptr);
  EXPECT_FALSE(splash->SetBitmap((folder / "None.bmp").string(), 255, 0, 240));
  EXPECT_EQ(splash->PictureSize(), wxSize(0, 0));
  ASSERT_TRUE(splash->SetBitmap(path, 255, 0, 240));
  EXPECT_FALSE(splash->SetBitmap((folder / "None.bmp").string(), 255, 0, 240));
  EXPECT_EQ(splash->PictureSize(), wxSize(20, 16));
  splash->Hide();
  test::RunEventLoop(20);
}

TEST_F(SplashPicture, ShapeHoldsExactlyTheOpaquePixels) {
  Splash* splash = Splash::Create(nullptr, "", 0, Splash::kCentreScreen);
  ASSERT_TRUE(splash->SetBitmap(path, 255, 0, 240));
  EXPECT_EQ(splash->GetSize(), wxSize(20, 16));
  const wxRect area = wxGetClientDisplayRect();
  EXPECT_EQ(splash->GetPosition(),
            wxPoint(area.x + (area.width - 20) / 2, area.y + (area.height - 16) / 2));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x)
      EXPECT_EQ(splash->Shape().Contains(x, y) == wxInRegion, Opaque(x, y)) << x << "," << y;

  for (int red : {-1, 0xFFFF}) {
    ASSERT_TRUE(splash->SetBitmap(path, red, 0, 240));
    EXPECT_TRUE(splash->Shape().IsEmpty());
  }
  splash->Hide();
  test::RunEventLoop(20);
}

TEST_F(SplashPicture, HideStopsThePendingTimeOut) {
  Splash* splash = Splash::Create(nullptr, "text", 30, Splash::kFadeIn | Splash::kFadeOut);
  ASSERT_TRUE(splash->SetBitmap(path, 255, 0, 240));
  const wxWeakRef<Splash> alive(splash);
  splash->Show();
  EXPECT_TRUE(splash->IsShown());
  splash->Hide();
  test::RunEventLoop(150);
  EXPECT_FALSE(alive);
}

TEST_F(SplashPicture, TimeOutWaitsWhileOnlyDisplayEventsAreHandledThenHides) {
  Splash* splash = Splash::Create(nullptr, "", 30, 0);
  ASSERT_TRUE(splash->SetBitmap(path, 255, 0, 240));
  const wxWeakRef<Splash> alive(splash);
  splash->Show();
  PumpDisplayEvents(200);
  ASSERT_TRUE(alive);
  EXPECT_FALSE(splash->IsHiding());
  EXPECT_TRUE(test::RunUntil([&] { return !alive; }, 2000));
}

TEST_F(SplashPicture, InputHidesItOnlyWhenAskedTo) {
  for (unsigned style : {0u, Splash::kHideOnInput}) {
    Splash* splash = Splash::Create(nullptr, "", 0, style);
    ASSERT_TRUE(splash->SetBitmap(path, 255, 0, 240));
    splash->Show();
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetEventObject(splash);
    splash->HandleWindowEvent(press);
    EXPECT_EQ(splash->IsHiding(), style == Splash::kHideOnInput);
    splash->Hide();
    test::RunEventLoop(20);
  }
}

TEST_F(SplashPicture, StartupSplashHoldsThePicture) {
  int calls = 0;
  wxSize shownSize;
  bool shaped = false;
  const auto start = std::chrono::steady_clock::now();
  ShowStartupSplash(folder.string(), [&](wxWindow* window) {
    ++calls;
    shownSize = window->IsShown() ? window->GetSize() : wxSize();
    auto* splash = dynamic_cast<Splash*>(window);
    shaped = splash && !splash->Shape().IsEmpty() && splash->HasBeenPainted();
  });
  const auto held = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(shownSize, wxSize(20, 16));
  EXPECT_TRUE(shaped);
  EXPECT_GE(held, std::chrono::milliseconds(2500));
  test::RunEventLoop(20);
  EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
}

TEST(StartupSplash, MissingPictureGoesOnAtOnce) {
  int calls = 0;
  const auto start = std::chrono::steady_clock::now();
  ShowStartupSplash("/nonexistent/skin", [&](wxWindow*) { ++calls; });
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(calls, 0);
  test::RunEventLoop(20);
  EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
}

}  // namespace
}  // namespace vz::widgets
