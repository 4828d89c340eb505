#include "ArchiveStorage.h"

#include <cerrno>

#include "ArchiveError.h"

namespace vz {

void CArchiveStorage::Open(const std::filesystem::path& path, int mode, std::uint32_t volumeSize) {
  Close();
  if (mode != kOpenExisting && mode != kOpenReadOnly) {
    openError_ = EINVAL;  // this engine never creates archives
    return;
  }
  openError_ = file_.Open(path);
  if (openError_ != 0) return;
  spanMode_ = volumeSize != 0 ? 4 : 3;
}

void CArchiveStorage::Close(bool /*afterException*/) noexcept {
  file_.Close();
  spanMode_ = 0;
  currentVolume_ = -1;
}

std::size_t CArchiveStorage::ReadAt(std::uint64_t position, std::span<std::uint8_t> out, bool allAtOnce) {
  std::size_t got = file_.ReadAt(position, out);
  if (got == out.size() || got == 0) return got;
  if (allAtOnce || SpanQuery() == 0) throw CArchiveError(kBadArchive, PathText());
  context_.ArchiveEndedEarly = true;
  return got;
}

}  // namespace vz
