#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "EntryPath.h"
#include "UniqueFd.h"

namespace vz {

// Creates the folders of an entry below the destination, one component at a
// time relative to the folder above, never following a symbolic link that
// stands below the destination. Throws CArchiveError(kFileError).
UniqueFd OpenEntryFolders(const std::filesystem::path& destination, std::span<const std::string> folders);

// A file being written for one entry. It replaces whatever file stood at its
// name (a planted link is removed, never written through), and refuses to
// replace a folder.
class COutputFile {
 public:
  COutputFile(const std::filesystem::path& destination, const EntryPath& path);

  void Write(std::span<const std::uint8_t> bytes);
  // Access time now, modification time as given (seconds since 1970).
  bool SetTimes(std::optional<std::int64_t> modified) noexcept;
  // Free bytes left for this user, and the size of the file system.
  bool SpaceLeft(std::uint64_t& freeBytes, std::uint64_t& totalBytes) const noexcept;
  // Closes and reports a failure that showed only at close (a full disk on
  // some file systems).
  void Close();
  std::uint64_t Written() const noexcept { return written_; }
  const std::filesystem::path& Target() const noexcept { return target_; }

 private:
  UniqueFd fd_;
  std::filesystem::path target_;
  std::uint64_t written_ = 0;
};

}  // namespace vz
