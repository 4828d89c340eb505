// Archives made by real producers, damaged in the ways users meet most, must
// come back whole with either scan.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "EngineTestUtil.h"

namespace vz {
namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command) { return std::system(command.c_str()); }

struct Producer {
  const char* label;
  const char* tool;
  const char* command;  // run in the source folder's parent; %s is the archive path
};

const Producer kProducers[] = {
    {"zip", "zip", "cd src && zip -q -r '%s' ."},
    {"zip_stored", "zip", "cd src && zip -q -0 -r '%s' ."},
    {"zip_streamed", "zip", "cd src && zip -q -r - . | cat > '%s'"},
    {"sevenzip", "7zz", "cd src && 7zz a -tzip -bso0 -bsp0 '%s' . >/dev/null"},
    {"python_unseekable", "python3",
     "cd src && python3 -c \"import os, sys, zipfile\n"
     "z = zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED)\n"
     "for root, dirs, files in sorted(os.walk('.')):\n"
     "    for f in sorted(files): z.write(os.path.join(root, f))\n"
     "z.close()\" | cat > '%s'"},
};

enum class Damage { None, CentralCut, CentralZeroed, PrefixJunk, CentralAndEndGone };

std::string Apply(Damage damage, std::string bytes) {
  std::size_t end = bytes.rfind("PK\x05\x06");
  std::uint32_t central = 0;
  if (end != std::string::npos) std::memcpy(&central, &bytes[end + 16], 4);
  switch (damage) {
    case Damage::None: return bytes;
    case Damage::CentralCut: return bytes.substr(0, central + 20);
    case Damage::CentralAndEndGone: return bytes.substr(0, central);
    case Damage::CentralZeroed: std::fill(bytes.begin() + central, bytes.end(), '\0'); return bytes;
    case Damage::PrefixJunk: return std::string(1000, '\x7F') + "MZ stub" + bytes;
  }
  return bytes;
}

const char* DamageName(Damage d) {
  switch (d) {
    case Damage::None: return "intact";
    case Damage::CentralCut: return "central_cut";
    case Damage::CentralZeroed: return "central_zeroed";
    case Damage::PrefixJunk: return "prefix_junk";
    case Damage::CentralAndEndGone: return "no_central";
  }
  return "";
}

class PeerArchive : public ::testing::TestWithParam<std::tuple<Producer, Damage>> {
 protected:
  static void SetUpTestSuite() {
    work_ = new test::TempDir();
    fs::path src = work_->Path() / "src";
    fs::create_directories(src / "sub/deeper");
    std::mt19937 rng(7);
    std::string text, noise(150000, '\0');
    while (text.size() < 300000) text += "entry line " + std::to_string(rng() % 50000) + "\n";
    for (char& c : noise) c = static_cast<char>(rng());
    test::WriteFile(src / "text.txt", text);
    test::WriteFile(src / "noise.bin", noise);
    test::WriteFile(src / "empty.txt", "");
    test::WriteFile(src / "sub/deeper/small.txt", "small\n");
    test::WriteFile(src / "sub/PACK.DAT", text.substr(0, 5000));
  }
  static void TearDownTestSuite() {
    delete work_;
    work_ = nullptr;
  }
  static test::TempDir* work_;
};

test::TempDir* PeerArchive::work_ = nullptr;

TEST_P(PeerArchive, EveryFileComesBackIdenticalWithBothScans) {
  const auto& [producer, damage] = GetParam();
  if (!test::HaveTool(producer.tool)) GTEST_SKIP() << producer.tool << " is not installed";
  fs::path archive = work_->Path() / (std::string(producer.label) + ".zip");
  if (!fs::exists(archive)) {
    char command[1024];
    std::snprintf(command, sizeof command, producer.command, archive.c_str());
    ASSERT_EQ(Shell("cd '" + work_->Path().string() + "' && " + command), 0) << command;
  }
  fs::path damaged = work_->Path() / (std::string(producer.label) + "-" + DamageName(damage) + ".zip");
  test::WriteFile(damaged, Apply(damage, test::ReadFile(archive)));

  std::vector<std::string> expected = test::ListFiles(work_->Path() / "src");
  for (int mode : {kQuickRepair, kAdvanceRepair}) {
    fs::path out = work_->Path() / ("out-" + std::to_string(mode));
    fs::remove_all(out);
    auto reports = test::SaveAll(damaged, out, mode);
    EXPECT_EQ(test::ListFiles(out), expected) << "mode " << mode;
    for (const std::string& rel : expected) {
      EXPECT_TRUE(test::ReadFile(out / rel) == test::ReadFile(work_->Path() / "src" / rel)) << rel << " mode " << mode;
    }
    for (const auto& r : reports) {
      // With a stub in front, the central directory's offsets are off by the
      // stub's length; Advance reads what they point at anyway, which here is
      // junk without a usable name.
      if (damage == Damage::PrefixJunk && mode == kAdvanceRepair && r.verdict == EntryVerdict::Skipped) continue;
      EXPECT_TRUE(r.verdict == EntryVerdict::Verified || r.verdict == EntryVerdict::Folder)
          << r.name << ": " << VerdictText(r.verdict) << " mode " << mode;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Producers, PeerArchive,
    ::testing::Combine(::testing::ValuesIn(kProducers),
                       ::testing::Values(Damage::None, Damage::CentralCut, Damage::CentralZeroed, Damage::PrefixJunk,
                                         Damage::CentralAndEndGone)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).label) + "_" + DamageName(std::get<1>(info.param));
    });

}  // namespace
}  // namespace vz
