#include "ScanWindow.h"

#include <algorithm>
#include <cstring>

namespace vz {
namespace {

bool KindWanted(RecordKind kind, unsigned mask) noexcept {
  switch (kind) {
    case RecordKind::LocalHeader: return (mask & kFindLocal) != 0;
    case RecordKind::CentralHeader: return (mask & kFindCentral) != 0;
    case RecordKind::DataDescriptor: return (mask & kFindDescriptor) != 0;
    case RecordKind::EndRecord: return (mask & kFindEnd) != 0;
    default: return false;
  }
}

}  // namespace

CScanWindow::CScanWindow(const CBigFile& file, std::size_t capacity)
    : file_(file),
      length_(file.Length()),
      capacity_(std::max<std::size_t>(capacity, 4096)),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity_)) {}

void CScanWindow::Load(std::uint64_t pos) {
  start_ = pos;
  filled_ = 0;
  std::uint64_t left = length_ - pos;
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_, left));
  filled_ = file_.ReadAt(pos, {buffer_.get(), want});
}

std::span<const std::uint8_t> CScanWindow::At(std::uint64_t pos, std::size_t need) {
  if (pos >= length_) return {};
  need = std::min<std::size_t>(need, capacity_);
  std::uint64_t wanted_end = std::min<std::uint64_t>(pos + need, length_);
  bool inside = pos >= start_ && wanted_end <= start_ + filled_;
  if (!inside) Load(pos);
  std::size_t offset = static_cast<std::size_t>(pos - start_);
  if (offset >= filled_) return {};
  return {buffer_.get() + offset, filled_ - offset};
}

std::size_t CScanWindow::Copy(std::uint64_t pos, std::span<std::uint8_t> out) {
  if (pos >= length_ || out.empty()) return 0;
  std::uint64_t end = std::min<std::uint64_t>(pos + out.size(), length_);
  if (pos >= start_ && end <= start_ + filled_) {
    std::size_t n = static_cast<std::size_t>(end - pos);
    std::memcpy(out.data(), buffer_.get() + (pos - start_), n);
    return n;
  }
  return file_.ReadAt(pos, out.first(static_cast<std::size_t>(end - pos)));
}

std::uint64_t CScanWindow::FindSignature(std::uint64_t from, std::uint64_t until, unsigned mask,
                                         RecordKind* kind) {
  until = std::min(until, length_);
  std::uint64_t p = from;
  while (p < until) {
    std::span<const std::uint8_t> bytes = At(p, 4);
    if (bytes.size() < 4) return until;
    std::size_t limit = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() - 3, until - p));
    const std::uint8_t* base = bytes.data();
    const std::uint8_t* cursor = base;
    const std::uint8_t* stop = base + limit;
    while (cursor < stop) {
      const void* hit = std::memchr(cursor, kSigP, static_cast<std::size_t>(stop - cursor));
      if (hit == nullptr) break;
      const std::uint8_t* h = static_cast<const std::uint8_t*>(hit);
      if (h[1] == kSigK) {
        RecordKind k = SignatureKind(h);
        if (KindWanted(k, mask)) {
          if (kind != nullptr) *kind = k;
          return p + static_cast<std::uint64_t>(h - base);
        }
      }
      cursor = h + 1;
    }
    p += limit;
  }
  return until;
}

}  // namespace vz
