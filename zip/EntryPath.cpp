#include "EntryPath.h"

namespace vz {

std::string EntryPath::Joined(char separator) const {
  std::string out;
  for (const std::string& c : components) {
    if (!out.empty()) out.push_back(separator);
    out += c;
  }
  return out;
}

EntryPath SanitizeEntryName(std::string_view name) {
  EntryPath path;
  if (name.size() >= 2 && name[1] == ':' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'))) {
    name.remove_prefix(2);
  }
  path.folder = !name.empty() && (name.back() == '\\' || name.back() == '/');
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(start, end - start);
    if (!part.empty() && part != "." && part != "..") {
      std::string component(part);
      for (char& ch : component) {
        if (ch == '\0') ch = '_';
      }
      path.components.push_back(std::move(component));
    }
    start = end + 1;
  }
  return path;
}

bool IsRecoverableEntryName(std::string_view name) { return !SanitizeEntryName(name).Empty(); }

}  // namespace vz
