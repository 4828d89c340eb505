#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace vz {

// Broken-down form of a DOS date and time; nullopt when a field is out of the
// calendar's range (month 0 or 13, day 0, hour 24, ...).
std::optional<std::tm> DosToCalendar(std::uint16_t date, std::uint16_t time) noexcept;

// Seconds since 1970 for a DOS date and time read as local time, daylight
// saving decided by the time zone rules. Throws CArchiveError(kInvalidArgument).
std::int64_t DosToLocalTime(std::uint16_t date, std::uint16_t time);
std::optional<std::int64_t> TryDosToLocalTime(std::uint16_t date, std::uint16_t time) noexcept;

}  // namespace vz
