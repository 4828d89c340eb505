#pragma once

#include <cstddef>
#include <cstdint>

namespace vz {

enum RepairModeValue : int { kQuickRepair = 0, kAdvanceRepair = 1 };

// Receives the scan's position every 100 bytes, with the archive's length.
class IScanProgress {
 public:
  virtual ~IScanProgress() = default;
  virtual void OnScanProgress(std::uint64_t done, std::uint64_t total) = 0;
};

// The owner's pause and stop control. The engine calls Checkpoint at every
// progress report, at every record and at every output buffer; it blocks while
// the job is paused and throws CArchiveError(kStopped) once a stop was asked.
class IJobGate {
 public:
  virtual ~IJobGate() = default;
  virtual void Checkpoint() = 0;
};

// The state one scan shares with its owner: the mode to use, the entries
// found, the flags the owner clears when it stops a job, and the owner's
// progress sink and gate (either may be null).
struct CScanContext {
  int RepairMode = kQuickRepair;
  std::size_t EntriesFound = 0;
  bool DescriptorSeen = false;
  bool ArchiveEndedEarly = false;
  IScanProgress* Progress = nullptr;
  IJobGate* Gate = nullptr;

  void ClearStopFlags() noexcept {
    DescriptorSeen = false;
    ArchiveEndedEarly = false;
  }
  void Checkpoint() {
    if (Gate != nullptr) Gate->Checkpoint();
  }
};

}  // namespace vz
