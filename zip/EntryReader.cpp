#include "EntryReader.h"

#include <algorithm>
#include <cstring>

#include "ArchiveError.h"
#include "ScanWindow.h"

namespace vz {

std::uint64_t FindStoredDataEnd(const CBigFile& file, std::uint64_t dataStart) {
  CScanWindow window(file, std::size_t{256} << 10);
  return window.FindSignature(dataStart, file.Length(), kFindLocal | kFindCentral | kFindEnd, nullptr);
}

void CEntryReader::Begin(CArchiveStorage& storage, const CEntryHeader& entry, const OpenedEntry& opened) {
  End();
  storage_ = &storage;
  deflated_ = opened.method == kMethodDeflated;
  sizeUnknown_ = entry.SizeUnknown();
  dataStart_ = readPos_ = opened.dataStart;
  const std::uint64_t length = storage.Length();
  const std::uint64_t available = length > dataStart_ ? length - dataStart_ : 0;
  if (!sizeUnknown_) {
    compressedLeft_ = entry.compressedSize;
    uncompressedLeft_ = entry.uncompressedSize;
  } else if (deflated_) {
    // The deflate stream marks its own end; the file's end bounds it.
    compressedLeft_ = available;
    uncompressedLeft_ = std::numeric_limits<std::uint64_t>::max();
  } else {
    compressedLeft_ = FindStoredDataEnd(storage.File(), dataStart_) - std::min(dataStart_, length);
    uncompressedLeft_ = compressedLeft_;
  }
  inputPos_ = inputLen_ = 0;
  consumed_ = produced_ = 0;
  crc_ = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
  endedEarly_ = false;
  state_ = DataEnd::Running;
  input_.Allocate(kInputPieceSize);
  if (deflated_) {
    stream_ = z_stream{};
    int rc = inflateInit2(&stream_, -MAX_WBITS);
    if (rc != Z_OK && rc != Z_NEED_DICT) throw CArchiveError(rc, storage.PathText());
    streamOpen_ = true;
  }
}

void CEntryReader::End() noexcept {
  if (streamOpen_) inflateEnd(&stream_);
  streamOpen_ = false;
  input_.Release();
  storage_ = nullptr;
}

void CEntryReader::FillInput() {
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kInputPieceSize, compressedLeft_));
  std::size_t got = storage_->File().ReadAt(readPos_, {input_.Data(), want});
  readPos_ += got;
  inputPos_ = 0;
  inputLen_ = got;
  if (got < want) {
    // The archive ends inside this entry's data: keep what is here.
    endedEarly_ = true;
    compressedLeft_ = 0;
  } else {
    compressedLeft_ -= got;
  }
}

std::size_t CEntryReader::ReadStored(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    if (inputPos_ == inputLen_) {
      if (compressedLeft_ == 0) {
        state_ = endedEarly_ ? DataEnd::EndedEarly : DataEnd::Complete;
        break;
      }
      FillInput();
      continue;
    }
    std::size_t n = std::min(out.size() - done, inputLen_ - inputPos_);
    std::memcpy(out.data() + done, input_.Data() + inputPos_, n);
    inputPos_ += n;
    consumed_ += n;
    done += n;
  }
  return done;
}

std::size_t CEntryReader::ReadDeflated(std::span<std::uint8_t> out) {
  stream_.next_out = out.data();
  stream_.avail_out = static_cast<uInt>(out.size());
  while (stream_.avail_out > 0) {
    if (inputPos_ == inputLen_ && compressedLeft_ > 0) FillInput();
    stream_.next_in = input_.Data() + inputPos_;
    stream_.avail_in = static_cast<uInt>(inputLen_ - inputPos_);
    const uInt inBefore = stream_.avail_in;
    int rc = inflate(&stream_, Z_SYNC_FLUSH);
    const std::size_t used = inBefore - stream_.avail_in;
    inputPos_ += used;
    consumed_ += used;
    if (rc == Z_STREAM_END) {
      state_ = DataEnd::Complete;
      break;
    }
    if (rc == Z_BUF_ERROR && inputPos_ == inputLen_ && compressedLeft_ == 0) {
      // No input left and the stream has not ended.
      state_ = endedEarly_ || sizeUnknown_ ? DataEnd::EndedEarly : DataEnd::Corrupt;
      break;
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      state_ = DataEnd::Corrupt;
      break;
    }
  }
  return out.size() - stream_.avail_out;
}

std::size_t CEntryReader::Read(std::span<std::uint8_t> out) {
  if (state_ != DataEnd::Running || out.empty() || storage_ == nullptr) return 0;
  if (uncompressedLeft_ == 0) {
    state_ = DataEnd::Complete;
    return 0;
  }
  out = out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), uncompressedLeft_)));
  std::size_t n = deflated_ ? ReadDeflated(out) : ReadStored(out);
  uncompressedLeft_ -= n;
  produced_ += n;
  crc_ = static_cast<std::uint32_t>(crc32_z(crc_, out.data(), n));
  if (state_ == DataEnd::Running && uncompressedLeft_ == 0) state_ = DataEnd::Complete;
  return n;
}

}  // namespace vz
