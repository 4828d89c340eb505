// Whatever a user gives as an archive, the command line answers with one clear
// line and an exit code, and never hangs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "CliRunner.h"
#include "tests/support/ZipWriter.h"

namespace vz {
namespace {

namespace fs = std::filesystem;


struct BadInput {
  const char* label;
  void (*make)(const fs::path& where);
  const char* message;  // part of the one line on stderr
};

void Empty(const fs::path& p) { test::WriteFile(p, ""); }
void OneByte(const fs::path& p) { test::WriteFile(p, "P"); }
void Hundred(const fs::path& p) { test::WriteFile(p, std::string(100, 'x')); }
void HundredAndOne(const fs::path& p) { test::WriteFile(p, std::string(101, 'x')); }
void Folder(const fs::path& p) { fs::create_directories(p); }
void Fifo(const fs::path& p) { ::mkfifo(p.c_str(), 0600); }
void Device(const fs::path& p) { fs::create_symlink("/dev/zero", p); }
void Dangling(const fs::path& p) { fs::create_symlink(p.parent_path() / "nowhere.zip", p); }
void Missing(const fs::path&) {}
void TinyArchive(const fs::path& p) {
  // 100 bytes or less, yet holding a signature: still nothing to recover.
  test::WriteFile(p, std::string("PK\x03\x04", 4) + std::string(60, '\0'));
}

class BadInputs : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, OneClearLineAndNothingRecovered) {
  test::TempDir dir;
  fs::path input = dir / "input.zip";
  GetParam().make(input);
  for (const char* command : {"list", "recover --into"}) {
    std::string arguments = std::string(command);
    if (arguments.find("--into") != std::string::npos) arguments += " '" + (dir / "out").string() + "'";
    test::CliResult o = test::RunCli(arguments + " '" + input.string() + "'", true);
    EXPECT_EQ(o.exitCode, 2) << GetParam().label << " / " << command;
    EXPECT_NE(o.text.find(GetParam().message), std::string::npos) << GetParam().label << ": " << o.text;
  }
  EXPECT_FALSE(fs::exists(dir / "out") && !fs::is_empty(dir / "out"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInputs,
    ::testing::Values(BadInput{"empty", Empty, "holds no ZIP signature"},
                      BadInput{"one_byte", OneByte, "holds no ZIP signature"},
                      BadInput{"hundred_bytes", Hundred, "holds no ZIP signature"},
                      BadInput{"hundred_and_one_bytes", HundredAndOne, "holds no ZIP signature"},
                      BadInput{"folder", Folder, "is a folder, not an archive"},
                      BadInput{"fifo", Fifo, "is not a regular file"},
                      BadInput{"device", Device, "is not a regular file"},
                      BadInput{"dangling_link", Dangling, "no such file"},
                      BadInput{"missing", Missing, "no such file"},
                      BadInput{"tiny_archive", TinyArchive, "100 bytes or less"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(BadInputsAsUser, AnUnreadableFileIsNamedAsSuch) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  test::TempDir dir;
  test::WriteFile(dir / "locked.zip", "PK\x03\x04 whatever");
  ::chmod((dir / "locked.zip").c_str(), 0);
  test::CliResult o = test::RunCli("list '" + (dir / "locked.zip").string() + "'", true);
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.text.find("cannot be read"), std::string::npos) << o.text;
}

TEST(BadInputsOutput, AnOutputFolderThatCannotBeMadeIsRefused) {
  test::TempDir dir;
  test::ZipWriter w;
  w.Add("a.txt", "a").Finish();
  w.Save(dir / "a.zip");
  test::WriteFile(dir / "file", "a file where the folder should go");
  test::CliResult o = test::RunCli("recover --into '" + (dir / "file/sub").string() + "' '" + (dir / "a.zip").string() + "'", true);
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.text.find("cannot create the output folder"), std::string::npos) << o.text;
}

}  // namespace
}  // namespace vz
