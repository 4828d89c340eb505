#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EntryTexts.h"
#include "app/ActivityLog.h"
#include "app/Messages.h"
#include "zip/RepairArchive.h"

namespace vz::pipeline {

using app::MessageIcon;

struct UserMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Information;
};

inline constexpr const char* kFileAlreadyOpenText = "File is already open ,Please close the file";
inline constexpr const char* kHighlyCorruptedText =
    "File is highly corrupted or version not supported.Recovery not possible.";

// What the analysis pass shows. The Analysis dialog and the Preview implement
// it for the desktop (handing each call to the UI thread), the command line
// prints it, the tests record it. Calls come from the pass's worker thread.
class IAnalysisReporter {
 public:
  virtual ~IAnalysisReporter() = default;
  virtual void SetBarPosition(int percent) = 0;
  virtual void ClearRows() = 0;
  virtual void AddRow(const EntryRow& row) = 0;
  // The engine's record behind the row just added (method, flags, sizes).
  virtual void RowEntry(const CEntryHeader& /*info*/) {}
  virtual void SetListedCount(const std::string& text) = 0;
  // May block until the user has answered.
  virtual void ShowMessage(const UserMessage& message) = 0;
  // The pass has ended by itself (never after a stop).
  virtual void Finished() = 0;
};

// How one analysis ended.
enum class AnalysisEnd {
  FileMissing,      // no file at the path
  CannotOpen,       // the file exists but cannot be read
  TooSmall,         // 100 bytes or less
  NoSignature,      // no local header signature anywhere in the file
  ReadError,        // the file could not be read through
  Listed,           // the archive was opened and its entries listed
  Stopped,          // the owner stopped the pass
};

// Analyses one source archive: finds its first local header, has the engine
// rebuild its entry list, and hands one row per recoverable entry to the
// reporter, with the progress bar and the file's block of the activity log.
class CAnalysisPass : private IScanProgress {
 public:
  CAnalysisPass(CRepairArchive& archive, CScanContext& context, app::ILogSink& log, IAnalysisReporter& reporter,
                IJobGate& gate, int& progressStallCount);

  // currentFileNumber counts from 1. Returns how it ended; after a stop
  // nothing more is shown or logged.
  AnalysisEnd Run(const std::vector<std::string>& sourceFiles, int currentFileNumber);

  // The bar arithmetic of the engine's scan reports: never backwards, one
  // step forward per 2000 reports that would have moved it back, never 100.
  void ReportAnalysisProgress(std::uint64_t done, std::uint64_t total);

  int BarPosition() const noexcept { return bar_; }
  std::size_t ListedCount() const noexcept { return listed_; }

 private:
  // The engine has passed this pass's gate just before each report: the bar
  // moves without a second checkpoint on the scan's hottest path.
  void OnScanProgress(std::uint64_t done, std::uint64_t total) override { ShowBar(ScanPercent(done, total)); }
  int ScanPercent(std::uint64_t done, std::uint64_t total);
  AnalysisEnd Analyse(const std::string& path, int currentFileNumber);
  void SetBar(int percent);  // a checkpoint, then ShowBar
  void ShowBar(int percent);
  void Log(const std::string& text);
  AnalysisEnd End(AnalysisEnd how);

  CRepairArchive& archive_;
  CScanContext& context_;
  app::ILogSink& log_;
  IAnalysisReporter& reporter_;
  IJobGate& gate_;
  int& stallCount_;
  int bar_ = 0;
  std::size_t listed_ = 0;
};

}  // namespace vz::pipeline
