// Inputs that once broke the engine (most found by fuzzing) are kept in
// fuzz/regressions; each must open, list and save without an escaping error.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"

namespace vz {
namespace {

TEST(RegressionInputs, OpenListAndSaveWithoutEscapingErrors) {
  std::filesystem::path folder = std::filesystem::path(VZ_SOURCE_DIR) / "fuzz" / "regressions";
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no regression inputs";
  int seen = 0;
  for (const auto& input : std::filesystem::directory_iterator(folder)) {
    ++seen;
    for (int mode : {kQuickRepair, kAdvanceRepair}) {
      test::TempDir out;
      EXPECT_NO_THROW({
        auto entries = test::ListEntries(input.path(), mode);
        for (const auto& e : entries) (void)e.TryGetEntryTime();
        test::SaveAll(input.path(), out.Path(), mode);
      }) << input.path().filename() << " mode " << mode;
    }
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace vz
