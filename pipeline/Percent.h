#pragma once

#include <cstdint>

namespace vz::pipeline {

// done x 100 / total, truncated (0 for an empty total).
int PercentOf(std::uint64_t done, std::uint64_t total);

// What a bar showing `shown` should show for a report of `percent`: a bar
// never goes back, but a run of reports behind it (a scan that jumped back,
// an entry larger than it claimed) must not freeze it either, so every
// `stallLimit`-th such report moves it on by one.
int NeverBackwards(int percent, int shown, int& stallCount, int stallLimit);

}  // namespace vz::pipeline
