#include "EntryHeader.h"

#include "DosTime.h"

namespace vz {

std::int64_t CEntryHeader::GetEntryTime() const { return DosToLocalTime(modDate, modTime); }

std::optional<std::int64_t> CEntryHeader::TryGetEntryTime() const noexcept {
  return TryDosToLocalTime(modDate, modTime);
}

}  // namespace vz
