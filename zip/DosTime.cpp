#include "DosTime.h"

#include "ArchiveError.h"

namespace vz {

std::optional<std::tm> DosToCalendar(std::uint16_t date, std::uint16_t time) noexcept {
  std::tm tm{};
  tm.tm_sec = 2 * (time & 0x1F);
  tm.tm_min = (time >> 5) & 0x3F;
  tm.tm_hour = (time >> 11) & 0x1F;
  tm.tm_mday = date & 0x1F;
  tm.tm_mon = ((date >> 5) & 0x0F) - 1;
  tm.tm_year = (date >> 9) + 80;
  tm.tm_isdst = -1;
  bool valid = tm.tm_sec <= 59 && tm.tm_min <= 59 && tm.tm_hour <= 23 && tm.tm_mday >= 1 &&
               tm.tm_mon >= 0 && tm.tm_mon <= 11;
  if (!valid) return std::nullopt;
  return tm;
}

std::optional<std::int64_t> TryDosToLocalTime(std::uint16_t date, std::uint16_t time) noexcept {
  auto tm = DosToCalendar(date, time);
  if (!tm) return std::nullopt;
  std::time_t t = std::mktime(&*tm);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<std::int64_t>(t);
}

std::int64_t DosToLocalTime(std::uint16_t date, std::uint16_t time) {
  auto t = TryDosToLocalTime(date, time);
  if (!t) throw CArchiveError(kInvalidArgument);
  return *t;
}

}  // namespace vz
