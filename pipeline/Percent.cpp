#include "Percent.h"

#include <algorithm>

namespace vz::pipeline {

int PercentOf(std::uint64_t done, std::uint64_t total) {
  return total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done * 100 / total, 1000));
}

int NeverBackwards(int percent, int shown, int& stallCount, int stallLimit) {
  if (percent >= shown) return percent;
  if (++stallCount < stallLimit) return shown;
  stallCount = 0;
  return shown + 1;
}

}  // namespace vz::pipeline
