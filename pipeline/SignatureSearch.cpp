#include "SignatureSearch.h"

#include <algorithm>

#include "pipeline/Percent.h"
#include "zip/ScanWindow.h"

namespace vz::pipeline {
namespace {

constexpr std::uint64_t kSearchSlice = std::uint64_t{16} << 20;

}  // namespace

std::optional<std::uint64_t> FindFirstLocalHeader(const CBigFile& file, const std::function<void(int)>& showPercent) {
  const std::uint64_t size = file.Length();
  CScanWindow window(file);
  for (std::uint64_t p = 0; p < size;) {
    showPercent(PercentOf(p, size));
    std::uint64_t until = std::min(size, p + kSearchSlice);
    std::uint64_t c = window.FindSignature(p, until, kFindLocal, nullptr);
    if (c < until) {
      showPercent(PercentOf(c, size));
      return c;
    }
    p = until;
  }
  return std::nullopt;
}

}  // namespace vz::pipeline
