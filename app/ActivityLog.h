#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string_view>

#include "Settings.h"

namespace vz::app {

enum LogKind : int { kActivityLog = 0, kRecoveryLog = 1 };

// Where the passes write their log blocks: the activity log, or nothing at
// all for a command-line run that was not asked to log.
class ILogSink {
 public:
  virtual ~ILogSink() = default;
  virtual bool AppendLog(int kind, std::string_view text) = 0;
  bool AppendLog(std::string_view text) { return AppendLog(kActivityLog, text); }
};

class CNullLog : public ILogSink {
 public:
  bool AppendLog(int, std::string_view) override { return true; }
  using ILogSink::AppendLog;
};

// The plain-text log of every step of a repair run. Each call appends its
// whole text as UTF-8; calls from several threads are serialised, so no text
// is lost and no two texts interleave.
class CActivityLog : public ILogSink {
 public:
  static constexpr std::uint64_t kSizeLimit = 5242880;

  explicit CActivityLog(const CSettingsStore& settings) : settings_(settings) {}

  // Appends text to the log of kind. A log already larger than the limit is
  // started afresh first. False when the file cannot be opened or written.
  bool AppendLog(int kind, std::string_view text) override;
  using ILogSink::AppendLog;

  // The file that the writer writes: the kind's folder setting when it names
  // an existing folder, else "FilePath", else the user's state folder.
  // Viewing and clearing use the same file.
  std::filesystem::path LogFilePath(int kind = kActivityLog) const;

  // Deletes the activity log and starts it with a line break.
  bool Clear();

 private:
  const CSettingsStore& settings_;
  std::mutex mutex_;
};

}  // namespace vz::app
