#include "SavingPass.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "app/LogBlocks.h"
#include "zip/BigFile.h"
#include "pipeline/GateInstaller.h"
#include "pipeline/Percent.h"
#include "pipeline/SignatureSearch.h"

namespace vz::pipeline {
namespace {

int ClampEntryBar(std::uint64_t value, std::size_t j, std::size_t n) {
  if (value >= 100) return j + 1 < n ? 98 : 100;
  return static_cast<int>(value);
}

}  // namespace

std::filesystem::path DestinationFolderFor(const std::filesystem::path& chosen, const std::tm& now) {
  char name[96];
  std::snprintf(name, sizeof name, "VF_Recovered_Zip  %d-%d-%d  %d-%d-%d", now.tm_mday, now.tm_mon + 1,
                now.tm_year + 1900, now.tm_hour, now.tm_min, now.tm_sec);
  return chosen / name;
}

std::filesystem::path FreeFolderName(const std::filesystem::path& wanted) {
  std::error_code ec;
  if (!std::filesystem::exists(wanted, ec)) return wanted;
  for (int n = 2;; ++n) {
    std::filesystem::path candidate = wanted;
    candidate += " (" + std::to_string(n) + ")";
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

CSavingPass::CSavingPass(CRepairArchive& archive, CScanContext& context, app::ILogSink& log,
                         ISavingReporter& reporter, IJobGate& gate, int& progressStallCount, Clock clock)
    : archive_(archive),
      context_(context),
      log_(log),
      reporter_(reporter),
      gate_(gate),
      stallCount_(progressStallCount),
      clock_(clock ? std::move(clock) : Clock(app::LocalNow)) {}

void CSavingPass::SetCurrent(int percent) {
  gate_.Checkpoint();
  ShowCurrent(percent);
}

void CSavingPass::ShowCurrent(int percent) {
  if (percent == current_) return;
  current_ = percent;
  reporter_.SetCurrentBar(percent);
}

void CSavingPass::SetOverall(int percent) {
  gate_.Checkpoint();
  ShowOverall(percent);
}

void CSavingPass::ShowOverall(int percent) {
  if (percent == overall_) return;
  overall_ = percent;
  reporter_.SetOverallBar(percent);
}

void CSavingPass::Text(void (ISavingReporter::*setter)(const std::string&), const std::string& text) {
  gate_.Checkpoint();
  (reporter_.*setter)(text);
}

int CSavingPass::ScanPercent(std::uint64_t done, std::uint64_t total) {
  return std::min(NeverBackwards(PercentOf(done, total), std::max(current_, 0), stallCount_, 4000), 98);
}

void CSavingPass::ReportSavingProgress(std::uint64_t done, std::uint64_t total) {
  const int p = ScanPercent(done, total);
  if (OverallFollowsCurrent()) SetOverall(p);
  SetCurrent(p);
}

void CSavingPass::OnScanProgress(std::uint64_t done, std::uint64_t total) {
  const int p = ScanPercent(done, total);
  if (OverallFollowsCurrent()) ShowOverall(p);
  ShowCurrent(p);
}

std::filesystem::path CSavingPass::MakeDestination(const std::filesystem::path& chosen) {
  gate_.Checkpoint();
  std::filesystem::path folder = FreeFolderName(DestinationFolderFor(chosen, clock_()));
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  folders_.push_back(folder);
  Text(&ISavingReporter::SetDestination, folder.string());
  gate_.Checkpoint();
  log_.AppendLog(app::DestinationBlock(folder.string()));
  return folder;
}

SavingEnd CSavingPass::Run(const SavingRequest& request) {
  currentOnly_ = request.saveCurrentFileOnly;
  sourceCount_ = request.sourceFiles.size();
  current_ = overall_ = -1;
  folders_.clear();
  GateInstaller installed(context_, gate_);
  try {
    gate_.Checkpoint();
    log_.AppendLog(app::SavingHeadingBlock());
    SetOverall(0);
    if (currentOnly_) {
      SetCurrent(0);
      std::string source;
      auto k = static_cast<std::size_t>(request.currentFileNumber);
      if (k >= 1 && k <= request.sourceFiles.size()) source = request.sourceFiles[k - 1];
      Text(&ISavingReporter::SetFileNumber, "1");
      Text(&ISavingReporter::SetFileTotal, "1");
      Text(&ISavingReporter::SetFileName, source);
      MakeDestination(request.destination);
      SaveArchive(source);
    } else {
      Text(&ISavingReporter::SetFileTotal, std::to_string(sourceCount_));
      for (std::size_t index = 0; index < request.sourceFiles.size(); ++index) {
        SetCurrent(0);
        const std::size_t k = index + 1;
        const int share = static_cast<int>(k * 100 / sourceCount_);
        const std::string& source = request.sourceFiles[index];
        Text(&ISavingReporter::SetFileName, source);
        Text(&ISavingReporter::SetFileNumber, std::to_string(k));
        MakeDestination(request.destination);
        SaveArchive(source);
        if (sourceCount_ > 1) SetOverall(share);
      }
    }
    gate_.Checkpoint();
    reporter_.Finished();
    return SavingEnd::Finished;
  } catch (const CArchiveError& e) {
    if (e.Code() != kStopped) throw;
    context_.Progress = nullptr;
    archive_.CloseArchive();
    return SavingEnd::Stopped;
  }
}

void CSavingPass::SaveArchive(const std::string& source) {
  {
    // A missing or unreadable source is skipped and the others go on. The
    // source is only ever read: no attribute or permission changes.
    CBigFile probe;
    int error = source.empty() ? ENOENT : probe.Open(source);
    if (error != 0) {
      gate_.Checkpoint();
      reporter_.ArchiveSkipped(source, std::strerror(error));
      return;
    }
    const std::uint64_t size = probe.Length();
    if (size <= kMinArchiveSize) {
      gate_.Checkpoint();
      reporter_.ArchiveSkipped(source, kTooSmallText);
      return;
    }
    auto showBars = [this](int percent) {
      if (OverallFollowsCurrent()) SetOverall(percent);
      SetCurrent(percent);
    };
    std::optional<std::uint64_t> first;
    try {
      first = FindFirstLocalHeader(probe, showBars);
    } catch (const CArchiveError& e) {
      if (e.Code() == kStopped) throw;
    }
    if (!first) {
      gate_.Checkpoint();
      reporter_.ArchiveSkipped(source, kNoSignatureText);
      return;
    }
  }

  context_.Progress = this;
  try {
    archive_.OpenArchive(source, 0, 1, 0);
  } catch (const CArchiveError& e) {
    if (e.Code() == kStopped) throw;
  }
  context_.Progress = nullptr;

  const int base = std::max(current_, 0);
  const std::size_t n = archive_.EntryCount();
  const std::filesystem::path folder = folders_.back();
  for (std::size_t j = 0; j < n; ++j) {
    EntrySaveReport report;
    if (currentOnly_) {
      int v = ClampEntryBar(j * 100 / n + static_cast<std::uint64_t>(base), j, n);
      SetCurrent(v);
      SetOverall(v);
      archive_.SaveEntry(j, folder, CRepairArchive::kSaveBufferSize, &report);
    } else {
      archive_.SaveEntry(j, folder, CRepairArchive::kSaveBufferSize, &report);
      int v = ClampEntryBar((j + 1) * 100 / n + static_cast<std::uint64_t>(base), j, n);
      if (OverallFollowsCurrent()) SetOverall(v);
      SetCurrent(v);
    }
    gate_.Checkpoint();
    reporter_.EntrySaved(report);
  }
  context_.EntriesFound = 0;
  archive_.CloseArchive();
}

}  // namespace vz::pipeline
