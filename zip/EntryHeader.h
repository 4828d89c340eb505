#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "AutoBuffer.h"

namespace vz {

// One entry of an archive, built from its local header. The same record is
// handed to callers as the entry's information (names then use "\" separators).
class CEntryHeader {
 public:
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flag = 0;
  std::uint16_t method = 8;
  std::uint16_t localMethod = 0;        // patched copy, filled when the entry is opened
  std::uint16_t modTime = 0;            // DOS format
  std::uint16_t modDate = 0;            // DOS format
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;     // 64-bit so that ZIP64 entries fit
  std::uint64_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;         // as stored in the header, even when over 500
  std::uint16_t localExtraLength = 0;   // patched copy, filled when the entry is opened
  std::uint16_t extraLength = 0;
  std::uint16_t commentLength = 0;
  std::uint16_t diskNumberStart = 0;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 32;  // local headers carry none: the archive attribute
  std::uint64_t localHeaderOffset = 0;
  std::string name;                     // UTF-8
  CAutoBuffer extra;
  std::string comment;

  // What the scan learnt beside the header's own fields.
  bool zip64 = false;                   // the local header carried ZIP64 sizes
  bool sizesFromDescriptor = false;     // CRC and sizes came from the data descriptor

  bool IsEncrypted() const noexcept { return (flag & 0x0001) != 0; }
  bool HasDescriptorFlag() const noexcept { return (flag & 0x0008) != 0; }
  // A streamed entry whose descriptor was not found: its sizes are not known.
  bool SizeUnknown() const noexcept {
    return HasDescriptorFlag() && compressedSize == 0 && !sizesFromDescriptor;
  }
  bool IsFolder() const noexcept {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
  }

  // The modification time as local time, seconds since 1970.
  // Throws CArchiveError(kInvalidArgument) for a date that is no calendar date.
  std::int64_t GetEntryTime() const;
  std::optional<std::int64_t> TryGetEntryTime() const noexcept;
};

}  // namespace vz
