#include "ProgressMarks.h"

#include <algorithm>

namespace vz {

void CProgressMarks::StepsThrough(std::uint64_t from, std::uint64_t to) {
  if (from >= to) return;
  std::uint64_t r = std::max(from, mark_);
  if (r >= to) return;
  if (context_.Progress == nullptr && context_.Gate == nullptr) {
    // Nobody listens: move the mark to where the reports would have left it.
    mark_ = r + ((to - 1 - r) / 100) * 100 + 100;
    return;
  }
  while (r < to) {
    // The gate first: a paused job must not move its bar.
    context_.Checkpoint();
    if (context_.Progress != nullptr) context_.Progress->OnScanProgress(r, total_);
    mark_ = r + 100;
    r = mark_;
  }
}

}  // namespace vz
