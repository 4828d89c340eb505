#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vz::cli {

// A one-line progress bar on stderr: percentage, throughput and the current
// archive. Silent when stderr is not a terminal or when asked to be quiet.
class CConsoleProgress {
 public:
  explicit CConsoleProgress(bool quiet);
  ~CConsoleProgress() { Clear(); }

  void SetArchive(const std::string& name);
  void SetPercent(int percent);
  void AddBytes(std::uint64_t bytes) { bytes_ += bytes; }
  // Removes the line, so that what follows starts clean.
  void Clear();

 private:
  void Draw(bool force);

  bool enabled_;
  bool drawn_ = false;
  std::string archive_;
  int percent_ = 0;
  std::uint64_t bytes_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace vz::cli
