#include "ConsoleProgress.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace vz::cli {

CConsoleProgress::CConsoleProgress(bool quiet) : enabled_(!quiet && ::isatty(STDERR_FILENO) == 1) {}

void CConsoleProgress::SetArchive(const std::string& name) {
  archive_ = std::filesystem::path(name).filename().string();
  Draw(true);
}

void CConsoleProgress::SetPercent(int percent) {
  percent_ = percent;
  Draw(false);
}

void CConsoleProgress::Draw(bool force) {
  if (!enabled_) return;
  auto now = std::chrono::steady_clock::now();
  if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  double seconds = std::chrono::duration<double>(now - start_).count();
  double rate = seconds > 0 ? static_cast<double>(bytes_) / seconds / 1e6 : 0.0;
  std::fprintf(stderr, "\r\033[K[%3d%%] %7.1f MB/s  %s", percent_, rate, archive_.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void CConsoleProgress::Clear() {
  if (!enabled_ || !drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace vz::cli
