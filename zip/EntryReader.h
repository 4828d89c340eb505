#pragma once

#include <zlib.h>

#include <cstdint>
#include <limits>
#include <span>

#include "ArchiveStorage.h"
#include "AutoBuffer.h"
#include "EntryDirectory.h"
#include "EntryHeader.h"

namespace vz {

// How an entry's data came to an end.
enum class DataEnd {
  Running,     // more may follow
  Complete,    // the deflate stream ended, or all stored bytes were delivered
  EndedEarly,  // the archive ends inside the entry's data
  Corrupt,     // the deflate data is damaged or stops short of its end
};

// Streams one entry's data: stored bytes copied, deflated bytes inflated with
// raw inflate. Output never exceeds the declared uncompressed size; an entry
// whose sizes are unknown is read until its data ends.
class CEntryReader {
 public:
  static constexpr std::uint32_t kInputPieceSize = 16384;

  CEntryReader() = default;
  CEntryReader(const CEntryReader&) = delete;
  CEntryReader& operator=(const CEntryReader&) = delete;
  ~CEntryReader() { End(); }

  // Throws CArchiveError with the decompressor's start-up code on failure.
  void Begin(CArchiveStorage& storage, const CEntryHeader& entry, const OpenedEntry& opened);
  // Fills out with the next bytes; 0 once the data has ended (see State()).
  std::size_t Read(std::span<std::uint8_t> out);
  void End() noexcept;

  DataEnd State() const noexcept { return state_; }
  std::uint32_t Crc() const noexcept { return crc_; }
  std::uint64_t Produced() const noexcept { return produced_; }
  // Where the compressed data ends: after the bytes the stream consumed, or
  // after the declared compressed size for a stored entry.
  std::uint64_t DataEndPosition() const noexcept { return dataStart_ + consumed_; }
  std::uint64_t Consumed() const noexcept { return consumed_; }
  bool SizeUnknown() const noexcept { return sizeUnknown_; }

 private:
  void FillInput();
  std::size_t ReadStored(std::span<std::uint8_t> out);
  std::size_t ReadDeflated(std::span<std::uint8_t> out);

  CArchiveStorage* storage_ = nullptr;
  bool deflated_ = false;
  bool streamOpen_ = false;
  bool sizeUnknown_ = false;
  z_stream stream_{};
  CAutoBuffer input_;
  std::size_t inputPos_ = 0;
  std::size_t inputLen_ = 0;
  std::uint64_t dataStart_ = 0;
  std::uint64_t readPos_ = 0;
  std::uint64_t compressedLeft_ = 0;
  std::uint64_t uncompressedLeft_ = 0;
  std::uint64_t consumed_ = 0;
  std::uint64_t produced_ = 0;
  std::uint32_t crc_ = 0;
  bool endedEarly_ = false;
  DataEnd state_ = DataEnd::Running;
};

// The extent of a stored entry whose size is unknown: up to the first header
// signature after its data start, or to the end of the file.
std::uint64_t FindStoredDataEnd(const CBigFile& file, std::uint64_t dataStart);

}  // namespace vz
