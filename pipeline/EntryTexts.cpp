#include "EntryTexts.h"

#include <ctime>

namespace vz::pipeline {

std::string SizeText(std::uint64_t size) {
  const char* unit = "Bytes";
  if (size >= 1024) {
    size /= 1024;
    unit = "KB";
    if (size >= 1024) {
      size /= 1024;
      unit = "MB";
      if (size >= 1024) {
        size /= 1024;
        unit = "GB";
      }
    }
  }
  return std::to_string(size) + "   " + unit;
}

std::string RatioText(std::uint64_t compressed, std::uint64_t uncompressed) {
  std::uint64_t ratio = uncompressed == 0 ? 0 : compressed * 100 / uncompressed;
  return std::to_string(ratio) + "%";
}

std::string TimeText(std::optional<std::int64_t> seconds) {
  if (!seconds) return {};
  std::time_t t = static_cast<std::time_t>(*seconds);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return {};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[64];
  std::snprintf(text, sizeof text, "%02d %s %d, %02d:%02d:%02d", tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

std::string CrcText(std::uint32_t crc) { return std::to_string(crc); }

}  // namespace vz::pipeline
