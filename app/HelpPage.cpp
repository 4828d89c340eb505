#include "HelpPage.h"

#include <system_error>

namespace vz::app {

std::optional<std::filesystem::path> FindHelpPage(const CSettingsStore& settings) {
  std::error_code ec;
  std::filesystem::path here = std::filesystem::current_path(ec) / kHelpPageName;
  if (!ec && std::filesystem::is_regular_file(here, ec)) return here;
  std::string installed = settings.ReadRegistryString(kFilePathValue);
  if (installed.empty()) return std::nullopt;
  std::filesystem::path page = std::filesystem::path(installed) / kHelpPageName;
  if (std::filesystem::is_regular_file(page, ec)) return page;
  return std::nullopt;
}

}  // namespace vz::app
