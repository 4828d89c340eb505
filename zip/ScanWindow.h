#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "BigFile.h"
#include "Records.h"

namespace vz {

// Kinds a signature search may stop at, as a bit mask.
enum SignatureMask : unsigned {
  kFindLocal = 1u << 0,
  kFindCentral = 1u << 1,
  kFindDescriptor = 1u << 2,
  kFindEnd = 1u << 3,
};

// A sliding read window over the archive for the scans: one large read serves
// millions of positions, so the scan makes no system call per position.
class CScanWindow {
 public:
  explicit CScanWindow(const CBigFile& file, std::size_t capacity = std::size_t{1} << 20);

  std::uint64_t Length() const noexcept { return length_; }

  // The bytes from pos to the end of the window, reloading so that at least
  // min(need, bytes left in the file) are present. Empty at or past the end.
  std::span<const std::uint8_t> At(std::uint64_t pos, std::size_t need);

  // Copies up to out.size() bytes at pos, from the window when it holds them,
  // otherwise with a direct read that leaves the window where it is.
  std::size_t Copy(std::uint64_t pos, std::span<std::uint8_t> out);

  // The first position in [from, until) whose four bytes are a signature of a
  // kind in mask; `until` when there is none. A signature cut by the end of the
  // file does not count.
  std::uint64_t FindSignature(std::uint64_t from, std::uint64_t until, unsigned mask, RecordKind* kind);

 private:
  void Load(std::uint64_t pos);

  const CBigFile& file_;
  std::uint64_t length_;
  std::size_t capacity_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::uint64_t start_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace vz
