#pragma once

#include <filesystem>
#include <optional>

#include "Settings.h"

namespace vz::app {

inline constexpr const char* kHelpPageName = "Velmora for Zip.html";

// The user manual: "Velmora for Zip.html" in the working folder, else in the
// installation folder ("FilePath", read afresh). Nothing when neither exists.
std::optional<std::filesystem::path> FindHelpPage(const CSettingsStore& settings);

}  // namespace vz::app
