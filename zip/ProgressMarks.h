#pragma once

#include <cstdint>

#include "ScanContext.h"

namespace vz {

// The scan reports its position at the first step that reaches the report
// mark and then moves the mark 100 bytes on. Each pass starts with the mark
// at 0. Steps are given as ranges, so runs of signature-free bytes cost
// arithmetic instead of a loop per byte.
class CProgressMarks {
 public:
  CProgressMarks(CScanContext& context, std::uint64_t total) noexcept : context_(context), total_(total) {}

  void Restart() noexcept { mark_ = 0; }
  // One scan step at every position in [from, to).
  void StepsThrough(std::uint64_t from, std::uint64_t to);
  void StepAt(std::uint64_t position) { StepsThrough(position, position + 1); }

 private:
  CScanContext& context_;
  std::uint64_t total_;
  std::uint64_t mark_ = 0;
};

}  // namespace vz
