#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "BigFile.h"
#include "ScanContext.h"

namespace vz {

// The archive file as the engine reads it. The user's archive is only ever
// opened for reading, whatever mode the caller names: repairing must never
// change the file it repairs.
class CArchiveStorage {
 public:
  explicit CArchiveStorage(CScanContext& context) noexcept : context_(context) {}

  enum OpenMode : int { kOpenExisting = 0, kOpenReadOnly = 1, kCreate = 2, kCreateSpan = 3 };

  // Opens an existing archive. A file that cannot be opened raises nothing:
  // the storage stays closed and OpenError() tells why (an errno value).
  void Open(const std::filesystem::path& path, int mode, std::uint32_t volumeSize);
  void Close(bool afterException = true) noexcept;

  bool IsFileOpen() const noexcept { return file_.IsOpen(); }
  int OpenError() const noexcept { return openError_; }
  // 0 with no archive, -1 for an existing archive (never a new span).
  int SpanQuery() const noexcept { return spanMode_ == 0 ? 0 : -1; }
  int CurrentVolume() const noexcept { return currentVolume_; }

  // Reads at an absolute position. Nothing at all (the end of the file) or
  // everything asked for is returned as is. Otherwise, with allAtOnce the
  // short read is a damaged record (CArchiveError kBadArchive); without, the
  // short count is returned and ArchiveEndedEarly is raised.
  std::size_t ReadAt(std::uint64_t position, std::span<std::uint8_t> out, bool allAtOnce);

  const CBigFile& File() const noexcept { return file_; }
  std::uint64_t Length() const noexcept { return file_.Length(); }
  std::string PathText() const { return file_.Path().string(); }

 private:
  CScanContext& context_;
  CBigFile file_;
  int spanMode_ = 0;
  int currentVolume_ = -1;
  int openError_ = 0;
};

}  // namespace vz
