#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vz::app {

inline constexpr std::string_view kWindowTitle = " Velmora for Zip";
inline constexpr std::string_view kMessageCaption = "  Velmora for Zip";
inline constexpr std::string_view kSettingsKey = "VFZIP";

inline constexpr std::string_view kFilePathValue = "FilePath";
inline constexpr std::string_view kLogPathValue = "LogPath";
inline constexpr std::string_view kRecoveryLogValue = "Recovery Log";

// The places a settings file may live, in the order they are tried: the file
// named by VELMORA_ZIP_CONFIG, the user's $XDG_CONFIG_HOME/velmora-zip/
// settings.ini (~/.config by default), then the installed default
// (<prefix>/etc/velmora-zip/settings.ini, beside the program or where it was
// configured to go).
std::vector<std::filesystem::path> SettingsFileCandidates();
// The first candidate that exists, if any.
std::optional<std::filesystem::path> FindSettingsFile();

// $XDG_STATE_HOME/velmora-zip (~/.local/state by default): where the log goes
// when no folder is configured.
std::filesystem::path DefaultStateFolder();

// The program's read-only settings: string values of the [VFZIP] section of
// an INI file. The program never writes them. Every read looks at the file
// afresh, so a changed setting is seen by the next read.
class CSettingsStore {
 public:
  // Uses the first settings file found at the time of each read.
  CSettingsStore() = default;
  // Uses this file only (tests, and the command line's --config).
  explicit CSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

  // The value, or an empty string when the file, the section or the value is
  // missing or unreadable. An empty result is the only sign of failure.
  std::string ReadRegistryString(std::string_view valueName) const;

 private:
  std::optional<std::filesystem::path> file_;
};

// Folders fixed at start-up.
struct CAppFolders {
  std::string InstallFolder;  // "FilePath": help page and skins
  std::string SkinFolder;     // InstallFolder + "/skin"

  static CAppFolders Load(const CSettingsStore& settings);
};

}  // namespace vz::app
