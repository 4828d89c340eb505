// End-to-end runs of velmora-zip-cli on archives damaged in the tests.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdio>
#include <random>

#include "CliRunner.h"
#include "tests/support/ZipWriter.h"

namespace vz {
namespace {

namespace fs = std::filesystem;
using test::ZipWriter;


std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

class CliTest : public ::testing::Test {
 protected:
  fs::path Archive(const std::string& name, const std::string& bytes) {
    test::WriteFile(dir_ / name, bytes);
    return dir_ / name;
  }
  std::string Intact() {
    ZipWriter w;
    w.Add("docs/a.txt", std::string(5000, 'a')).Add("b.bin", std::string(300, 'b'), 0).Finish();
    return w.Bytes();
  }
  test::TempDir dir_;
};

TEST_F(CliTest, ExitCodesTellHowMuchCameBack) {
  ZipWriter cut;
  std::string text;
  std::mt19937 rng(3);
  while (text.size() < 100000) text += std::to_string(rng()) + " ";
  cut.Add("whole.txt", "whole").Add("cut.txt", text);
  std::string truncated = cut.Bytes().substr(0, cut.Entries()[1].dataOffset + 500);
  struct Case {
    const char* label;
    std::string arguments;
    int exitCode;
  } cases[] = {
      {"intact", "recover --into " + Quote(dir_ / "o1") + " " + Quote(Archive("ok.zip", Intact())), 0},
      {"truncated", "recover --into " + Quote(dir_ / "o2") + " " + Quote(Archive("cut.zip", truncated)), 1},
      {"no signature", "recover --into " + Quote(dir_ / "o3") + " " + Quote(Archive("junk.zip", std::string(5000, 'x'))), 2},
      {"missing", "recover --into " + Quote(dir_ / "o4") + " " + Quote(dir_ / "nothing.zip"), 2},
      {"a folder", "list " + Quote(dir_.Path()), 2},
      {"usage: no archive", "list", 64},
      {"usage: bad mode", "list --mode fast " + Quote(dir_ / "ok.zip"), 64},
      {"usage: no destination", "recover " + Quote(dir_ / "ok.zip"), 64},
      {"one good one missing", "list " + Quote(dir_ / "ok.zip") + " " + Quote(dir_ / "nothing.zip"), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(test::RunCli(c.arguments).exitCode, c.exitCode) << c.label;
  EXPECT_EQ(test::ReadFile(dir_ / "o2/whole.txt"), "whole");
  EXPECT_TRUE(fs::exists(dir_ / "o2/cut.txt"));
}

TEST_F(CliTest, ListAsJson) {
  auto result = test::RunCli("list --json --mode advance " + Quote(Archive("ok.zip", Intact())));
  ASSERT_EQ(result.exitCode, 0);
  auto document = nlohmann::json::parse(result.text);
  EXPECT_EQ(document["mode"], "advance");
  ASSERT_EQ(document["archives"].size(), 1u);
  const auto& archive = document["archives"][0];
  EXPECT_EQ(archive["count"], 2);
  EXPECT_EQ(archive["entries"][0]["name"], "docs\\a.txt");
  EXPECT_EQ(archive["entries"][0]["uncompressed"], "4   KB");
  EXPECT_EQ(archive["entries"][0]["method"], "deflated");
  EXPECT_EQ(archive["entries"][1]["method"], "stored");
  EXPECT_EQ(archive["entries"][1]["uncompressedSize"], 300);
}

TEST_F(CliTest, OutMakesADatedFolderPerArchiveAndLogsTheRun) {
  fs::path one = Archive("one.zip", Intact());
  fs::path two = Archive("two.zip", Intact());
  test::WriteFile(dir_ / "settings.ini", "[VFZIP]\nLogPath=" + dir_.Path().string() + "\n");
  auto result = test::RunCli("recover --log --json --out " + Quote(dir_ / "out") + " " + Quote(one) + " " + Quote(two),
                       false, "VELMORA_ZIP_CONFIG=" + Quote(dir_ / "settings.ini"));
  ASSERT_EQ(result.exitCode, 0);
  std::vector<fs::path> folders;
  for (const auto& e : fs::directory_iterator(dir_ / "out")) folders.push_back(e.path());
  ASSERT_EQ(folders.size(), 2u);
  for (const auto& folder : folders) {
    EXPECT_EQ(folder.filename().string().rfind("VF_Recovered_Zip  ", 0), 0u) << folder;
    EXPECT_EQ(test::ReadFile(folder / "docs/a.txt"), std::string(5000, 'a'));
  }
  auto document = nlohmann::json::parse(result.text);
  EXPECT_EQ(document["totals"]["verified"], 4);
  std::string log = test::ReadFile(dir_ / "Activity Log.txt");
  EXPECT_NE(log.find("*************************** Step 3 :- Files Saving"), std::string::npos);
  EXPECT_NE(log.find("\r\n" + folders[0].string()), std::string::npos);
  EXPECT_NE(log.find("Repairing Completed successfully"), std::string::npos);
}

struct Producer {
  const char* label;
  const char* tool;
  const char* command;  // run inside src; writes ../made.zip
};

class CliProducers : public CliTest, public ::testing::WithParamInterface<Producer> {};

TEST_P(CliProducers, ArchivesSurviveTheUsualDamage) {
  const Producer& producer = GetParam();
  if (!test::HaveTool(producer.tool)) {
    GTEST_SKIP() << producer.tool << " is not installed";
  }
  fs::create_directories(dir_ / "src/sub");
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\n";
  test::WriteFile(dir_ / "src/sub/text.txt", text);
  test::WriteFile(dir_ / "src/small.txt", "small");
  if (std::string(producer.label) == "own_writer") {
    ZipWriter w;
    test::EntryRecipe streamed;
    streamed.name = "sub/text.txt";
    streamed.data = text;
    streamed.streamed = true;
    w.Add(streamed).Add("small.txt", "small", 0).Finish();
    w.Save(dir_ / "made.zip");
  }
  ASSERT_EQ(std::system(("cd " + Quote(dir_ / "src") + " && " + producer.command).c_str()), 0) << producer.command;
  std::string bytes = test::ReadFile(dir_ / "made.zip");
  std::string zeroed = bytes;
  std::size_t central = bytes.find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  std::fill(zeroed.begin() + static_cast<long>(central), zeroed.end(), '\0');
  for (const auto& [label, damaged] : {std::pair{"central zeroed", zeroed},
                                       std::pair{"prefix junk", std::string(777, 'j') + bytes},
                                       std::pair{"truncated", bytes.substr(0, central + 10)}}) {
    for (const char* mode : {"quick", "advance"}) {
      fs::path out = dir_ / (std::string("o-") + mode);
      fs::remove_all(out);
      auto result = test::RunCli(std::string("recover --mode ") + mode + " --into " + Quote(out) + " " +
                           Quote(Archive("damaged.zip", damaged)));
      EXPECT_EQ(result.exitCode, 0) << label << " " << mode;
      EXPECT_TRUE(test::ReadFile(out / "sub/text.txt") == text) << label << " " << mode;
      EXPECT_EQ(test::ReadFile(out / "small.txt"), "small") << label << " " << mode;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Producers, CliProducers,
    ::testing::Values(Producer{"zip", "zip", "zip -q -r ../made.zip ."},
                      Producer{"zip_piped", "zip", "zip -q -r - . | cat > ../made.zip"},
                      Producer{"sevenzip", "7zz", "7zz a -tzip -bso0 -bsp0 ../made.zip . >/dev/null"},
                      Producer{"python", "python3",
                               "python3 -c \"import os, sys, zipfile\n"
                               "z = zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED)\n"
                               "for root, dirs, files in os.walk('.'):\n"
                               "    for f in files: z.write(os.path.join(root, f))\n"
                               "z.close()\" | cat > ../made.zip"},
                      Producer{"own_writer", "true", "true"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vz
