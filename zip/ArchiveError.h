#pragma once

#include <stdexcept>
#include <string>

namespace vz {

// Internal error codes. The decompressor's own results keep zlib's numbers,
// the archive codes sit below -100, and the codes this engine adds for the
// platform (file errors, bad arguments, a stop request) sit below -200.
enum ArchiveErrorCode : int {
  kStreamEnd = 1,
  kNeedDictionary = 2,
  kCompressionFileError = -1,
  kStreamError = -2,
  kDataError = -3,
  kMemoryError = -4,
  kBufferError = -5,
  kVersionError = -6,
  kBadArchive = -101,
  kCrcMismatch = -102,
  kNoVolumeHandler = -103,
  kAbortedByVolumeHandler = -104,
  kNotRemovableMedia = -105,
  kTooManyVolumes = -106,
  kFileNameTooLong = -107,
  kFileError = -201,        // the operating system refused a file operation
  kInvalidArgument = -202,  // for example a DOS date that is no calendar date
  kStopped = -203,          // the owner asked the running job to stop
  kOutputLimit = -204,      // an entry of unknown size was cut to protect the destination
};

// What went wrong, as the user-facing layers classify it.
enum ArchiveErrorCause : int {
  kCauseGeneric = 1,
  kCauseStreamEnd = 2,
  kCauseNeedDictionary = 3,
  kCauseCompressionFile = 4,
  kCauseStream = 5,
  kCauseData = 6,
  kCauseMemory = 7,
  kCauseBuffer = 8,
  kCauseVersion = 9,
  kCauseBadArchive = 10,
  kCauseCrc = 11,
  kCauseNoVolumeHandler = 12,
  kCauseAbortedByVolumeHandler = 13,
  kCauseNotRemovable = 14,
  kCauseTooManyVolumes = 15,
  kCauseNameTooLong = 16,
};

class CArchiveError : public std::runtime_error {
 public:
  explicit CArchiveError(int code, std::string fileName = {}, int systemError = 0);

  int Code() const noexcept { return code_; }
  int Cause() const noexcept { return CauseFromCode(code_); }
  const std::string& FileName() const noexcept { return fileName_; }
  // errno of a kFileError, 0 otherwise.
  int SystemError() const noexcept { return systemError_; }

  static int CauseFromCode(int code) noexcept;
  static std::string Describe(int code, int systemError);

 private:
  int code_;
  std::string fileName_;
  int systemError_;
};

}  // namespace vz
