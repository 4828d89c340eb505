#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vz {

// An entry name made safe to use below a destination folder.
struct EntryPath {
  std::vector<std::string> components;  // folders, then the file (or the last folder)
  bool folder = false;                  // the name ended with a separator

  bool Empty() const noexcept { return components.empty(); }
  std::string Joined(char separator) const;
};

// Splits an entry name at "\" and "/", drops a leading drive ("D:"), and drops
// empty, "." and ".." components, so that nothing can land outside the
// destination. NUL bytes, which no file name may hold, become "_".
EntryPath SanitizeEntryName(std::string_view name);

// The one rule for which entries are recovered, shared by the listing and the
// saving so that both always agree: a name that keeps at least one component.
bool IsRecoverableEntryName(std::string_view name);

}  // namespace vz
