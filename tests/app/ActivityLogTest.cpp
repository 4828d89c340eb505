#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "app/ActivityLog.h"
#include "app/Settings.h"
#include "tests/support/ZipWriter.h"

namespace vz::app {
namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class ActivityLogTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& body) { test::WriteFile(dir_ / "settings.ini", "[VFZIP]\n" + body); }
  test::TempDir dir_;
};

TEST_F(ActivityLogTest, SettingsAreReadFromTheVfzipSection) {
  test::WriteFile(dir_ / "settings.ini",
                  "; comment\n[OTHER]\nFilePath = /wrong\n[VFZIP]\nFilePath = /opt/velmora\nRecovery Log=/var/r\n");
  CSettingsStore settings(dir_ / "settings.ini");
  EXPECT_EQ(settings.ReadRegistryString("FilePath"), "/opt/velmora");
  EXPECT_EQ(settings.ReadRegistryString("Recovery Log"), "/var/r");
  EXPECT_EQ(settings.ReadRegistryString("LogPath"), "");
  EXPECT_EQ(CSettingsStore(dir_ / "missing.ini").ReadRegistryString("FilePath"), "");
  CAppFolders folders = CAppFolders::Load(settings);
  EXPECT_EQ(folders.InstallFolder, "/opt/velmora");
  EXPECT_EQ(folders.SkinFolder, "/opt/velmora/skin");
}

TEST_F(ActivityLogTest, SettingsFileLookupOrder) {
  std::filesystem::create_directories(dir_ / "xdg/velmora-zip");
  test::WriteFile(dir_ / "xdg/velmora-zip/settings.ini", "[VFZIP]\nFilePath=/from/xdg\n");
  test::WriteFile(dir_ / "explicit.ini", "[VFZIP]\nFilePath=/from/env\n");
  ScopedEnv xdg("XDG_CONFIG_HOME", (dir_ / "xdg").string());
  {
    ScopedEnv config("VELMORA_ZIP_CONFIG", (dir_ / "explicit.ini").string());
    EXPECT_EQ(CSettingsStore().ReadRegistryString("FilePath"), "/from/env");
  }
  {
    ScopedEnv config("VELMORA_ZIP_CONFIG", (dir_ / "not-there.ini").string());
    EXPECT_EQ(CSettingsStore().ReadRegistryString("FilePath"), "/from/xdg");
  }
}

TEST_F(ActivityLogTest, TheLogFolderFallsBackStepByStep) {
  std::filesystem::create_directories(dir_ / "logs");
  std::filesystem::create_directories(dir_ / "install");
  WriteSettings("FilePath=" + (dir_ / "install").string() + "\nLogPath=" + (dir_ / "logs").string() + "\n");
  CSettingsStore settings(dir_ / "settings.ini");
  CActivityLog log(settings);
  EXPECT_EQ(log.LogFilePath(), dir_ / "logs/Activity Log.txt");
  EXPECT_EQ(log.LogFilePath(kRecoveryLog), dir_ / "install/Recovery Log.txt");

  WriteSettings("FilePath=" + (dir_ / "install").string() + "\nLogPath=" + (dir_ / "gone").string() + "\n");
  EXPECT_EQ(log.LogFilePath(), dir_ / "install/Activity Log.txt");

  WriteSettings("");
  ScopedEnv state("XDG_STATE_HOME", (dir_ / "state").string());
  EXPECT_EQ(log.LogFilePath(), dir_ / "state/velmora-zip/Activity Log.txt");
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "state/velmora-zip"));
}

TEST_F(ActivityLogTest, WritesWholeTextsAndStartsAfreshPastTheLimit) {
  WriteSettings("LogPath=" + dir_.Path().string() + "\n");
  CSettingsStore settings(dir_ / "settings.ini");
  CActivityLog log(settings);
  std::string longText(300, 'x');
  longText += "\xC3\xBC";
  ASSERT_TRUE(log.AppendLog(kActivityLog, longText));
  ASSERT_TRUE(log.AppendLog(kActivityLog, "\r\n"));
  EXPECT_EQ(test::ReadFile(log.LogFilePath()), longText + "\r\n");

  test::WriteFile(log.LogFilePath(), std::string(CActivityLog::kSizeLimit, 'o'));
  ASSERT_TRUE(log.AppendLog(kActivityLog, "kept"));  // exactly at the limit: kept
  EXPECT_EQ(std::filesystem::file_size(log.LogFilePath()), CActivityLog::kSizeLimit + 4);
  ASSERT_TRUE(log.AppendLog(kActivityLog, "fresh"));
  EXPECT_EQ(test::ReadFile(log.LogFilePath()), "fresh");
}

TEST_F(ActivityLogTest, ClearStartsTheLogWithALineBreak) {
  WriteSettings("LogPath=" + dir_.Path().string() + "\n");
  CSettingsStore settings(dir_ / "settings.ini");
  CActivityLog log(settings);
  log.AppendLog("old text");
  EXPECT_TRUE(log.Clear());
  EXPECT_EQ(test::ReadFile(log.LogFilePath()), "\r\n");
}

TEST_F(ActivityLogTest, AnUnwritableLogReportsFailure) {
  WriteSettings("FilePath=" + (dir_ / "missing").string() + "\n");
  CSettingsStore settings(dir_ / "settings.ini");
  CActivityLog log(settings);
  EXPECT_FALSE(log.AppendLog("dropped"));
}

TEST_F(ActivityLogTest, CallsFromManyThreadsNeitherLoseNorInterleaveText) {
  WriteSettings("LogPath=" + dir_.Path().string() + "\n");
  CSettingsStore settings(dir_ / "settings.ini");
  CActivityLog log(settings);
  constexpr int kThreads = 4, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kLines; ++i) log.AppendLog(std::string(50, static_cast<char>('a' + t)) + "\r\n");
    });
  }
  for (auto& th : threads) th.join();
  std::string text = test::ReadFile(log.LogFilePath());
  ASSERT_EQ(text.size(), static_cast<std::size_t>(kThreads * kLines * 52));
  for (std::size_t pos = 0; pos < text.size(); pos += 52) {
    EXPECT_EQ(text.substr(pos, 50), std::string(50, text[pos])) << pos;
    EXPECT_EQ(text.substr(pos + 50, 2), "\r\n");
  }
}

}  // namespace
}  // namespace vz::app
