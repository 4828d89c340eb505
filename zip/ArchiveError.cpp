#include "ArchiveError.h"

#include <cstring>

namespace vz {

CArchiveError::CArchiveError(int code, std::string fileName, int systemError)
    : std::runtime_error(Describe(code, systemError)),
      code_(code),
      fileName_(std::move(fileName)),
      systemError_(systemError) {}

int CArchiveError::CauseFromCode(int code) noexcept {
  switch (code) {
    case kStreamEnd: return kCauseStreamEnd;
    case kNeedDictionary: return kCauseNeedDictionary;
    case kCompressionFileError: return kCauseCompressionFile;
    case kStreamError: return kCauseStream;
    case kDataError: return kCauseData;
    case kMemoryError: return kCauseMemory;
    case kBufferError: return kCauseBuffer;
    case kVersionError: return kCauseVersion;
    case kBadArchive: return kCauseBadArchive;
    case kCrcMismatch: return kCauseCrc;
    case kNoVolumeHandler: return kCauseNoVolumeHandler;
    case kAbortedByVolumeHandler: return kCauseAbortedByVolumeHandler;
    case kNotRemovableMedia: return kCauseNotRemovable;
    case kTooManyVolumes: return kCauseTooManyVolumes;
    case kFileNameTooLong: return kCauseNameTooLong;
    default: return kCauseGeneric;
  }
}

std::string CArchiveError::Describe(int code, int systemError) {
  switch (code) {
    case kBadArchive: return "damaged archive record";
    case kStreamError: return "decompressor could not start (stream error)";
    case kMemoryError: return "decompressor ran out of memory";
    case kVersionError: return "decompressor version mismatch";
    case kDataError: return "compressed data is corrupt";
    case kBufferError: return "compressed data ended early";
    case kInvalidArgument: return "invalid date or time";
    case kStopped: return "stopped";
    case kOutputLimit: return "cut short: its size is unknown and it would fill the destination";
    case kFileError:
      return systemError != 0 ? std::string(std::strerror(systemError)) : "file error";
    default: return "archive error " + std::to_string(code);
  }
}

}  // namespace vz
