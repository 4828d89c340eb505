#include "AnalysisPass.h"

#include <algorithm>
#include <system_error>

#include "app/LogBlocks.h"
#include "app/Settings.h"
#include "zip/BigFile.h"
#include "zip/EntryPath.h"
#include "pipeline/GateInstaller.h"
#include "pipeline/Percent.h"
#include "pipeline/SignatureSearch.h"

namespace vz::pipeline {
namespace {

}  // namespace

CAnalysisPass::CAnalysisPass(CRepairArchive& archive, CScanContext& context, app::ILogSink& log,
                             IAnalysisReporter& reporter, IJobGate& gate, int& progressStallCount)
    : archive_(archive),
      context_(context),
      log_(log),
      reporter_(reporter),
      gate_(gate),
      stallCount_(progressStallCount) {}

void CAnalysisPass::SetBar(int percent) {
  gate_.Checkpoint();
  ShowBar(percent);
}

void CAnalysisPass::ShowBar(int percent) {
  if (percent == bar_) return;
  bar_ = percent;
  reporter_.SetBarPosition(percent);
}

void CAnalysisPass::Log(const std::string& text) {
  gate_.Checkpoint();
  log_.AppendLog(text);
}

int CAnalysisPass::ScanPercent(std::uint64_t done, std::uint64_t total) {
  return std::min(NeverBackwards(PercentOf(done, total), bar_, stallCount_, 2000), 99);
}

void CAnalysisPass::ReportAnalysisProgress(std::uint64_t done, std::uint64_t total) {
  SetBar(ScanPercent(done, total));
}

AnalysisEnd CAnalysisPass::End(AnalysisEnd how) {
  gate_.Checkpoint();
  reporter_.Finished();
  return how;
}

AnalysisEnd CAnalysisPass::Run(const std::vector<std::string>& sourceFiles, int currentFileNumber) {
  bar_ = 0;
  listed_ = 0;
  std::string path;
  if (currentFileNumber >= 1 && static_cast<std::size_t>(currentFileNumber) <= sourceFiles.size()) {
    path = sourceFiles[static_cast<std::size_t>(currentFileNumber - 1)];
  }
  GateInstaller installed(context_, gate_);
  try {
    return Analyse(path, currentFileNumber);
  } catch (const CArchiveError& e) {
    if (e.Code() != kStopped) throw;
    context_.Progress = nullptr;
    archive_.CloseArchive();
    return AnalysisEnd::Stopped;
  }
}

AnalysisEnd CAnalysisPass::Analyse(const std::string& path, int currentFileNumber) {
  Log(app::FileStartBlock(currentFileNumber, path));
  gate_.Checkpoint();
  reporter_.ClearRows();
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(path, ec)) return End(AnalysisEnd::FileMissing);

  std::uint64_t found = 0;
  {
    // The user's file is only ever read: no attribute or permission changes.
    CBigFile probe;
    if (probe.Open(path) != 0) {
      gate_.Checkpoint();
      reporter_.ShowMessage({kFileAlreadyOpenText, std::string(app::kWindowTitle), MessageIcon::Question});
      return End(AnalysisEnd::CannotOpen);
    }
    const std::uint64_t size = probe.Length();
    if (size <= kMinArchiveSize) return End(AnalysisEnd::TooSmall);
    try {
      std::optional<std::uint64_t> first = FindFirstLocalHeader(probe, [this](int percent) { SetBar(percent); });
      if (!first) {
        SetBar(PercentOf(size - 1, size));
        gate_.Checkpoint();
        reporter_.ShowMessage({kHighlyCorruptedText, std::string(app::kMessageCaption), MessageIcon::Information});
        return End(AnalysisEnd::NoSignature);
      }
      found = *first;
    } catch (const CArchiveError& e) {
      if (e.Code() == kStopped) throw;
      ReportAnalysisProgress(10, 10);
      return End(AnalysisEnd::ReadError);
    }
  }

  context_.Progress = this;
  try {
    archive_.OpenArchive(path, 0, 1, found);
  } catch (const CArchiveError& e) {
    // A read failure part-way leaves what was found; a stop ends everything.
    if (e.Code() == kStopped) throw;
  }
  context_.Progress = nullptr;

  const int base = bar_;
  const std::size_t count = archive_.EntryCount();
  CEntryHeader info;
  for (std::size_t i = 0; i < count; ++i) {
    archive_.GetEntryInfo(info, i);
    std::uint64_t p = (i + 1) * 100 / count + static_cast<std::uint64_t>(base);
    if (p >= 100) p = i + 1 < count ? 98 : 100;
    SetBar(static_cast<int>(p));
    if (!IsRecoverableEntryName(info.name)) continue;
    EntryRow row;
    row.texts = {info.name,
                 SizeText(info.uncompressedSize),
                 SizeText(info.compressedSize),
                 RatioText(info.compressedSize, info.uncompressedSize),
                 TimeText(info.TryGetEntryTime()),
                 CrcText(info.crc32)};
    gate_.Checkpoint();
    reporter_.AddRow(row);
    reporter_.RowEntry(info);
    reporter_.SetListedCount(std::to_string(listed_ + 1));
    ++listed_;
  }
  Log(app::FileEndBlock(listed_));
  archive_.CloseArchive();
  context_.EntriesFound = 0;
  ReportAnalysisProgress(10, 10);
  return End(AnalysisEnd::Listed);
}

}  // namespace vz::pipeline
