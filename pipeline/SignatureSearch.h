#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "zip/BigFile.h"

namespace vz::pipeline {

// A source of this many bytes or fewer holds nothing to recover.
inline constexpr std::uint64_t kMinArchiveSize = 100;

// Why a source is passed over, as the saving pass and the command line say it.
inline constexpr const char* kTooSmallText = "is 100 bytes or less: too small to hold anything to recover";
inline constexpr const char* kNoSignatureText = "holds no ZIP signature: not a ZIP archive, or nothing of one is left";

// Finds the first local header signature in a source file, anywhere in it:
// a self-extractor stub or a damaged first header in front of the archive is
// no reason to give up. Goes in slices so that the bar and the pass's gate
// keep up on a large file: showPercent(offset x 100 / size) is called before
// each slice. nullopt when the file holds none. Throws CArchiveError on a
// read failure (and whatever showPercent throws, such as a stop).
std::optional<std::uint64_t> FindFirstLocalHeader(const CBigFile& file, const std::function<void(int)>& showPercent);

}  // namespace vz::pipeline
