#pragma once

#include <cstdint>
#include <vector>

#include "ArchiveStorage.h"
#include "EntryHeader.h"
#include "ScanContext.h"

namespace vz {

// Where an opened entry's data lies and how it is to be read.
struct OpenedEntry {
  std::uint64_t dataStart = 0;
  std::uint16_t method = 0;            // the local header's method, patched
  std::uint16_t localExtraLength = 0;  // patched
  bool checkDescriptorAtClose = false;
};

// The archive's entry list, rebuilt by scanning (never from the end record),
// and the opening of one entry at a time for reading.
class CEntryDirectory {
 public:
  CEntryDirectory(CArchiveStorage& storage, CScanContext& context) noexcept
      : storage_(storage), context_(context) {}

  void Reset() noexcept { comment_.clear(); }
  // The start offset is accepted for the callers' sake; every scan starts at 0.
  void Scan(std::uint64_t startOffset);
  void ClearEntries() noexcept;

  bool HasIndex(std::size_t index) const noexcept { return index < entries_.size(); }
  std::size_t Count() const noexcept { return entries_.size(); }
  const CEntryHeader& Entry(std::size_t index) const { return entries_.at(index); }

  // Re-reads the entry's local header and locates its data.
  // Throws CArchiveError(kBadArchive) for a cut header or a method other than
  // stored or deflated.
  OpenedEntry OpenEntry(std::size_t index);
  // Compares the data descriptor found at dataEnd with the entry; the
  // signature is optional. False on any difference.
  bool DescriptorMatches(std::size_t index, std::uint64_t dataEnd);

 private:
  CArchiveStorage& storage_;
  CScanContext& context_;
  std::vector<CEntryHeader> entries_;
  std::string comment_;
};

}  // namespace vz
