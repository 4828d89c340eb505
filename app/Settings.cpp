#include "Settings.h"

#include <ini.h>

#include <cstdlib>
#include <system_error>

#ifndef VZ_INSTALL_SYSCONFDIR
#define VZ_INSTALL_SYSCONFDIR "/usr/local/etc"
#endif

namespace vz::app {
namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? std::filesystem::path(home) : std::filesystem::path("/");
}

std::filesystem::path XdgFolder(const char* variable, const char* fallbackBelowHome) {
  const char* value = std::getenv(variable);
  // The XDG rules ignore relative paths.
  if (value != nullptr && value[0] == '/') return value;
  return HomeFolder() / fallbackBelowHome;
}

struct Lookup {
  std::string_view name;
  std::string value;
  bool found = false;
};

int OnIniValue(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<Lookup*>(user);
  if (!lookup->found && kSettingsKey == section && lookup->name == name) {
    lookup->value = value;
    lookup->found = true;
  }
  return 1;
}

}  // namespace

std::vector<std::filesystem::path> SettingsFileCandidates() {
  std::vector<std::filesystem::path> candidates;
  if (const char* explicitFile = std::getenv("VELMORA_ZIP_CONFIG"); explicitFile != nullptr && *explicitFile != '\0') {
    candidates.emplace_back(explicitFile);
  }
  candidates.push_back(XdgFolder("XDG_CONFIG_HOME", ".config") / "velmora-zip" / "settings.ini");
  // The installed default, found beside the program so that an installation
  // moved to another prefix still finds it.
  std::error_code ec;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) candidates.push_back(program.parent_path().parent_path() / "etc" / "velmora-zip" / "settings.ini");
  candidates.push_back(std::filesystem::path(VZ_INSTALL_SYSCONFDIR) / "velmora-zip" / "settings.ini");
  return candidates;
}

std::optional<std::filesystem::path> FindSettingsFile() {
  for (const auto& candidate : SettingsFileCandidates()) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

std::filesystem::path DefaultStateFolder() {
  return XdgFolder("XDG_STATE_HOME", ".local/state") / "velmora-zip";
}

std::string CSettingsStore::ReadRegistryString(std::string_view valueName) const {
  std::optional<std::filesystem::path> file = file_ ? file_ : FindSettingsFile();
  if (!file) return {};
  Lookup lookup{valueName, {}, false};
  if (ini_parse(file->c_str(), OnIniValue, &lookup) < 0) return {};
  return lookup.found ? lookup.value : std::string();
}

CAppFolders CAppFolders::Load(const CSettingsStore& settings) {
  CAppFolders folders;
  folders.InstallFolder = settings.ReadRegistryString(kFilePathValue);
  folders.SkinFolder = (std::filesystem::path(folders.InstallFolder) / "skin").string();
  return folders;
}

}  // namespace vz::app
