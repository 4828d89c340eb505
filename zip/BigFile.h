#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "UniqueFd.h"

namespace vz {

// A read-only archive file with 64-bit positions. It never opens anything but
// a regular file: a FIFO or a device given as an archive would block or never end.
class CBigFile {
 public:
  enum class Origin { Begin, Current, End };

  // Returns 0 on success, else an errno value (EISDIR, ENOENT, EACCES, EINVAL
  // for a file that is not a regular file, ...). Never throws.
  int Open(const std::filesystem::path& path);
  bool IsOpen() const noexcept { return fd_.Valid(); }
  void Close() noexcept;

  // Reads up to out.size() bytes at an absolute offset, retrying short reads;
  // returns fewer bytes only at the end of the file. Throws CArchiveError(kFileError).
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  // Reads at the current position and advances it.
  std::size_t Read(std::span<std::uint8_t> out);
  std::uint64_t Seek(std::int64_t distance, Origin origin);
  std::uint64_t Position() const noexcept { return position_; }
  // The length when the file was opened.
  std::uint64_t Length() const noexcept { return length_; }
  const std::filesystem::path& Path() const noexcept { return path_; }
  int Descriptor() const noexcept { return fd_.Get(); }

 private:
  UniqueFd fd_;
  std::filesystem::path path_;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace vz
