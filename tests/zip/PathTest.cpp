#include <gtest/gtest.h>

#include "zip/EntryPath.h"

namespace vz {
namespace {

struct PathCase {
  std::string name;
  std::string joined;  // "" when nothing is left
  bool folder;
};

class SanitizeName : public ::testing::TestWithParam<PathCase> {};

TEST_P(SanitizeName, KeepsEverythingInsideTheDestination) {
  EntryPath path = SanitizeEntryName(GetParam().name);
  EXPECT_EQ(path.Joined('/'), GetParam().joined);
  EXPECT_EQ(path.folder, GetParam().folder);
  EXPECT_EQ(IsRecoverableEntryName(GetParam().name), !GetParam().joined.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, SanitizeName,
    ::testing::Values(PathCase{"a\\b\\c.txt", "a/b/c.txt", false}, PathCase{"a/b/c.txt", "a/b/c.txt", false},
                      PathCase{"D:\\x\\y.txt", "x/y.txt", false}, PathCase{"c:y.txt", "y.txt", false},
                      PathCase{"\\\\server\\share\\f.txt", "server/share/f.txt", false},
                      PathCase{"/etc/passwd", "etc/passwd", false},
                      PathCase{"..\\..\\..\\etc\\cron.d\\job", "etc/cron.d/job", false},
                      PathCase{"a/./b/../c", "a/b/c", false}, PathCase{"dir/", "dir", true},
                      PathCase{"dir\\sub\\", "dir/sub", true}, PathCase{"..", "", false},
                      PathCase{"../", "", true}, PathCase{"", "", false}, PathCase{"C:", "", false},
                      PathCase{"///", "", true}, PathCase{std::string("a\0b", 3), "a_b", false},
                      PathCase{"BACKUP.PST", "BACKUP.PST", false}, PathCase{"docs/PK_notes.txt", "docs/PK_notes.txt", false},
                      PathCase{"1:odd.txt", "1:odd.txt", false}));

}  // namespace
}  // namespace vz
