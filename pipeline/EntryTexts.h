#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vz::pipeline {

// One row of the Preview's entry list: name, uncompressed size, compressed
// size, ratio, modified time, CRC-32.
struct EntryRow {
  std::array<std::string, 6> texts;
};

// "512   Bytes", "1   KB", "4   MB", "1   GB": truncated, three blanks.
std::string SizeText(std::uint64_t size);
// compressed x 100 / uncompressed, truncated ("25%"); "0%" for an empty entry.
std::string RatioText(std::uint64_t compressed, std::uint64_t uncompressed);
// "%d %b %Y, %X" with a 24-hour clock; empty for a date that is no date.
std::string TimeText(std::optional<std::int64_t> seconds);
std::string CrcText(std::uint32_t crc);

}  // namespace vz::pipeline
