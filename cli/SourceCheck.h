#pragma once

#include <optional>
#include <string>

namespace vz::cli {

// One line that says why a path cannot be repaired, or nothing when it can
// be read: missing, a folder, not a regular file, unreadable, or holding no
// ZIP signature at all.
std::optional<std::string> CheckSource(const std::string& path);

// Creates the output folder if needed; the reason when that is impossible.
std::optional<std::string> PrepareOutputFolder(const std::string& path);

}  // namespace vz::cli
