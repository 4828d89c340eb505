#include "EntryDirectory.h"

#include <array>

#include "ArchiveError.h"
#include "EntryScan.h"
#include "Records.h"

namespace vz {

void CEntryDirectory::Scan(std::uint64_t /*startOffset*/) {
  ClearEntries();
  entries_ = RunRepairScan(storage_.File(), context_);
}

void CEntryDirectory::ClearEntries() noexcept {
  entries_.clear();
  entries_.shrink_to_fit();
  comment_.clear();
}

OpenedEntry CEntryDirectory::OpenEntry(std::size_t index) {
  CEntryHeader& entry = entries_.at(index);
  std::array<std::uint8_t, kLocalFixedSize> fixedBytes{};
  storage_.ReadAt(entry.localHeaderOffset, fixedBytes, true);
  LocalFixed local = ParseLocalFixed(fixedBytes);

  OpenedEntry opened;
  opened.method = PatchLocalMethod(local.method);
  opened.localExtraLength = PatchLocalExtraLength(local.extraLength);
  entry.localMethod = opened.method;
  entry.localExtraLength = opened.localExtraLength;
  // The patch exists so that a method damaged to "08 20" still reads as
  // deflate; the patched value is therefore the one that decides.
  if (opened.method != kMethodStored && opened.method != kMethodDeflated) {
    throw CArchiveError(kBadArchive, storage_.PathText());
  }
  opened.dataStart = entry.localHeaderOffset + kLocalFixedSize + entry.nameLength + opened.localExtraLength;
  opened.checkDescriptorAtClose = entry.HasDescriptorFlag() && !context_.DescriptorSeen;
  return opened;
}

bool CEntryDirectory::DescriptorMatches(std::size_t index, std::uint64_t dataEnd) {
  const CEntryHeader& entry = entries_.at(index);
  std::array<std::uint8_t, kZip64DescriptorSize> bytes{};
  std::size_t got = storage_.File().ReadAt(dataEnd, bytes);
  auto d = ParseTrailingDescriptor(std::span(bytes.data(), got), entry.zip64);
  return d && d->crc32 == entry.crc32 && d->compressedSize == entry.compressedSize &&
         d->uncompressedSize == entry.uncompressedSize;
}

}  // namespace vz
