#include <gtest/gtest.h>

#include "app/HelpPage.h"
#include "tests/support/ZipWriter.h"

namespace vz::app {
namespace {

TEST(HelpPage, FoundInTheInstallationFolderOrNowhere) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "share");
  test::WriteFile(dir / "settings.ini", "[VFZIP]\nFilePath=" + (dir / "share").string() + "\n");
  CSettingsStore settings(dir / "settings.ini");
  EXPECT_FALSE(FindHelpPage(settings));
  test::WriteFile(dir / "share" / kHelpPageName, "<html></html>");
  auto page = FindHelpPage(settings);
  ASSERT_TRUE(page);
  EXPECT_EQ(*page, dir / "share" / kHelpPageName);
  EXPECT_FALSE(FindHelpPage(CSettingsStore(dir / "none.ini")));
}

}  // namespace
}  // namespace vz::app
