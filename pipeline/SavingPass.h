#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ActivityLog.h"
#include "zip/RepairArchive.h"

namespace vz::pipeline {

// What the saving pass shows. The File Saving dialog implements it for the
// desktop, the command line prints it, the tests record it. Calls come from
// the pass's worker thread.
class ISavingReporter {
 public:
  virtual ~ISavingReporter() = default;
  virtual void SetCurrentBar(int percent) = 0;
  virtual void SetOverallBar(int percent) = 0;
  virtual void SetFileName(const std::string& text) = 0;
  virtual void SetFileNumber(const std::string& text) = 0;
  virtual void SetFileTotal(const std::string& text) = 0;
  virtual void SetDestination(const std::string& text) = 0;
  // One archive's outcome before its entries: why it is skipped, if it is.
  virtual void ArchiveSkipped(const std::string& /*path*/, const std::string& /*reason*/) {}
  // What became of one entry.
  virtual void EntrySaved(const EntrySaveReport& /*report*/) {}
  // The pass has ended by itself (never after a stop).
  virtual void Finished() = 0;
};

struct SavingRequest {
  std::vector<std::string> sourceFiles;
  int currentFileNumber = 1;          // from 1; the archive Save Current File saves
  bool saveCurrentFileOnly = false;
  std::filesystem::path destination;  // the folder the user chose
};

enum class SavingEnd { Finished, Stopped };

// "VF_Recovered_Zip  d-m-yyyy  h-m-s" (two blanks before each group, no
// leading zeros) inside the chosen folder.
std::filesystem::path DestinationFolderFor(const std::filesystem::path& chosen, const std::tm& now);
// The same name, or the first of "<name> (2)", "<name> (3)", ... that is not
// taken yet: archives saved within one second must not share a folder.
std::filesystem::path FreeFolderName(const std::filesystem::path& wanted);

// Saves the recoverable entries of the current archive or of all archives
// into fresh date-stamped folders, moving the current and overall bars and
// writing the saving blocks of the activity log.
class CSavingPass : private IScanProgress {
 public:
  using Clock = std::function<std::tm()>;

  CSavingPass(CRepairArchive& archive, CScanContext& context, app::ILogSink& log, ISavingReporter& reporter,
              IJobGate& gate, int& progressStallCount, Clock clock = {});

  SavingEnd Run(const SavingRequest& request);

  // The bar arithmetic of the engine's scan reports: never backwards, one
  // step forward per 4000 reports that would have moved it back, never past 98.
  void ReportSavingProgress(std::uint64_t done, std::uint64_t total);

  int CurrentBar() const noexcept { return current_; }
  int OverallBar() const noexcept { return overall_; }
  // The folders made, one per archive handled, in order.
  const std::vector<std::filesystem::path>& Folders() const noexcept { return folders_; }

 private:
  // The engine has passed this pass's gate just before each report: the bars
  // move without more checkpoints on the scan's hottest path.
  void OnScanProgress(std::uint64_t done, std::uint64_t total) override;
  int ScanPercent(std::uint64_t done, std::uint64_t total);
  // The overall bar moves with the current one when only one archive is saved.
  bool OverallFollowsCurrent() const noexcept { return currentOnly_ || sourceCount_ == 1; }
  void SaveArchive(const std::string& source);
  std::filesystem::path MakeDestination(const std::filesystem::path& chosen);
  void SetCurrent(int percent);  // a checkpoint, then ShowCurrent
  void SetOverall(int percent);  // a checkpoint, then ShowOverall
  void ShowCurrent(int percent);
  void ShowOverall(int percent);
  void Text(void (ISavingReporter::*setter)(const std::string&), const std::string& text);

  CRepairArchive& archive_;
  CScanContext& context_;
  app::ILogSink& log_;
  ISavingReporter& reporter_;
  IJobGate& gate_;
  int& stallCount_;
  Clock clock_;
  bool currentOnly_ = false;
  std::size_t sourceCount_ = 0;
  int current_ = -1;
  int overall_ = -1;
  std::vector<std::filesystem::path> folders_;
};

}  // namespace vz::pipeline
