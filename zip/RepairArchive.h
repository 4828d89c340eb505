#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "ArchiveError.h"
#include "ArchiveStorage.h"
#include "EntryDirectory.h"
#include "EntryHeader.h"
#include "ScanContext.h"

namespace vz {

// What became of one entry handed to SaveEntry.
enum class EntryVerdict {
  Verified,     // all data written and its CRC-32 matches the entry's
  CrcMismatch,  // all data written, but the CRC-32 differs
  Partial,      // the data ended early or was corrupt: what could be read was kept
  Unverified,   // written, but the entry carries no CRC to check against
  Folder,       // a folder entry: the folder was created
  Skipped,      // nothing to write under this name
  Failed,       // nothing could be written
};

struct EntrySaveReport {
  std::string name;                 // as handed out, "\" separators
  std::filesystem::path target;     // the file or folder written, when any
  EntryVerdict verdict = EntryVerdict::Failed;
  bool encrypted = false;           // the data is still encrypted as stored
  bool dataEndedEarly = false;      // the archive ends inside this entry
  bool dataCorrupt = false;         // the deflate data broke off
  bool descriptorMismatch = false;  // the data descriptor after the data disagrees
  bool timesSet = false;
  std::uint64_t bytesWritten = 0;
  std::uint32_t crcComputed = 0;
  std::uint32_t crcExpected = 0;
  std::optional<CArchiveError> error;  // why it failed, or why it stopped early
  std::string skipReason;
};

const char* VerdictText(EntryVerdict verdict) noexcept;

// The engine's face: open a (damaged) archive, which rebuilds its entry list
// by scanning; hand out each entry's information; extract entries; close.
// One object serves any number of archives one after the other.
class CRepairArchive {
 public:
  static constexpr std::uint32_t kSaveBufferSize = 65535;

  explicit CRepairArchive(CScanContext& context);

  // Opens the archive read-only and scans it. A file that cannot be opened
  // raises nothing and leaves no entries (OpenError() tells why). The start
  // offset is accepted for the callers' sake; the scans always begin at 0.
  // May throw CArchiveError (kStopped from the gate, kFileError on a read
  // failure).
  void OpenArchive(const std::filesystem::path& path, int mode = 0, std::uint32_t volumeSize = 1,
                   std::uint64_t startOffset = 0);
  void CloseArchive(bool afterException = true) noexcept;
  bool IsOpen() const noexcept { return storage_.IsFileOpen(); }
  int OpenError() const noexcept { return storage_.OpenError(); }
  std::uint64_t ArchiveLength() const noexcept { return storage_.Length(); }

  std::size_t EntryCount() const noexcept { return directory_.Count(); }
  // Copies entry index into info, its name with "\" separators. False, and
  // info untouched, for an index not below the entry count.
  bool GetEntryInfo(CEntryHeader& info, std::size_t index) const;

  // Extracts entry index below folder. Keeps whatever a damaged entry still
  // holds. Returns false when nothing could be written for a reason the
  // caller may want to show (see report); true when the entry was written,
  // partly written or deliberately skipped. Throws only CArchiveError(kStopped).
  bool SaveEntry(std::size_t index, const std::filesystem::path& folder,
                 std::uint32_t bufferSize = kSaveBufferSize, EntrySaveReport* report = nullptr);

  // Raised when an entry's deflate data broke off; cleared by SaveEntry and by
  // the owner when it stops a job.
  bool DataError = false;

 private:
  bool SaveFile(std::size_t index, const CEntryHeader& info, const std::filesystem::path& folder,
                std::uint32_t bufferSize, EntrySaveReport& report);

  CScanContext& context_;
  CArchiveStorage storage_;
  CEntryDirectory directory_;
};

}  // namespace vz
