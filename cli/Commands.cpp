#include <nlohmann/json.hpp>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>

#include "ConsoleProgress.h"
#include "Options.h"
#include "SourceCheck.h"
#include "app/ActivityLog.h"
#include "app/LogBlocks.h"
#include "pipeline/AnalysisPass.h"
#include "pipeline/GateInstaller.h"
#include "pipeline/SavingPass.h"
#include "pipeline/SignatureSearch.h"

namespace vz::cli {
namespace {

using nlohmann::json;

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) { gInterrupted.store(true); }

// Ctrl+C stops the running pass at its next checkpoint, so that the files
// written so far are closed properly and the log can say the run was aborted.
class CInterruptGate : public IJobGate {
 public:
  CInterruptGate() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
  }
  void Checkpoint() override {
    if (gInterrupted.load()) throw CArchiveError(kStopped);
  }
};

int ModeOf(const Options& options) { return options.mode == "advance" ? kAdvanceRepair : kQuickRepair; }

// The log the user asked for, or none.
struct LogChoice {
  explicit LogChoice(bool wanted) {
    if (wanted) {
      active = std::make_unique<app::CActivityLog>(settings);
    }
  }
  app::ILogSink& Sink() { return active ? static_cast<app::ILogSink&>(*active) : none; }
  app::CSettingsStore settings;
  std::unique_ptr<app::CActivityLog> active;
  app::CNullLog none;
};

// What every command line run needs: the engine set to the chosen mode, the
// Ctrl+C gate, the log (or none) and the progress line.
struct CliRun {
  explicit CliRun(const Options& options) : archive(context), log(options.log), progress(options.quiet) {
    context.RepairMode = ModeOf(options);
  }
  CScanContext context;
  CRepairArchive archive;
  CInterruptGate gate;
  LogChoice log;
  CConsoleProgress progress;
};

void StartLog(app::ILogSink& log, const std::vector<std::string>& archives, int mode) {
  log.AppendLog(app::StartHeaderBlock(app::LocalNow()));
  log.AppendLog(app::SourceFilesBlock(archives, mode, false));
}

std::string MethodName(std::uint16_t method) {
  switch (method) {
    case 0: return "stored";
    case 8: return "deflated";
    case 9: return "deflate64";
    case 12: return "bzip2";
    case 14: return "lzma";
    case 93: return "zstd";
    case 99: return "aes";
    default: return "method " + std::to_string(method);
  }
}

// Rows go out as they come, so that an archive of a million entries is
// listed without holding them all; only a JSON document is built whole.
class ListReporter : public pipeline::IAnalysisReporter {
 public:
  ListReporter(CConsoleProgress& progress, json* entries) : progress_(progress), entries_(entries) {}
  void SetBarPosition(int percent) override { progress_.SetPercent(percent); }
  void ClearRows() override { count = 0; }
  void AddRow(const pipeline::EntryRow& row) override { row_ = row; }
  void RowEntry(const CEntryHeader& info) override;
  void SetListedCount(const std::string&) override {}
  void ShowMessage(const pipeline::UserMessage& message) override { messages.push_back(message.text); }
  void Finished() override {}

  std::size_t count = 0;
  std::vector<std::string> messages;

 private:
  CConsoleProgress& progress_;
  json* entries_;
  pipeline::EntryRow row_;
};

void PrintError(const std::string& path, const std::string& what) {
  std::cerr << "velmora-zip-cli: " << path << ": " << what << "\n";
}

json EntryJson(const pipeline::EntryRow& row, const CEntryHeader& info) {
  return json{{"name", row.texts[0]},
              {"uncompressed", row.texts[1]},
              {"compressed", row.texts[2]},
              {"ratio", row.texts[3]},
              {"modified", row.texts[4]},
              {"crc32", row.texts[5]},
              {"uncompressedSize", info.uncompressedSize},
              {"compressedSize", info.compressedSize},
              {"method", MethodName(info.method)},
              {"encrypted", info.IsEncrypted()},
              {"sizeUnknown", info.SizeUnknown()}};
}

void ListReporter::RowEntry(const CEntryHeader& info) {
  ++count;
  if (entries_ != nullptr) {
    entries_->push_back(EntryJson(row_, info));
    return;
  }
  progress_.Clear();
  const auto& t = row_.texts;
  std::cout << "  " << t[0] << "\t" << t[1] << "\t" << t[2] << "\t" << t[3] << "\t" << t[4] << "\t" << t[5] << "\t"
            << MethodName(info.method) << (info.IsEncrypted() ? "\tencrypted" : "") << "\n";
}

}  // namespace

int ListArchives(const Options& options) {
  CliRun run(options);
  int stall = 0;
  if (options.log) {
    StartLog(run.log.Sink(), options.archives, run.context.RepairMode);
    run.log.Sink().AppendLog(app::AnalysisHeadingBlock(options.archives.size()));
  }

  json document = {{"mode", options.mode}, {"archives", json::array()}};
  std::size_t withEntries = 0;
  int number = 0;
  for (const std::string& path : options.archives) {
    ++number;
    json item = {{"archive", path}};
    if (auto problem = CheckSource(path)) {
      PrintError(path, *problem);
      item["error"] = *problem;
      document["archives"].push_back(item);
      continue;
    }
    json entries = json::array();
    ListReporter reporter(run.progress, options.json ? &entries : nullptr);
    run.progress.SetArchive(path);
    if (!options.json) std::cout << path << ":\n";
    pipeline::CAnalysisPass pass(run.archive, run.context, run.log.Sink(), reporter, run.gate, stall);
    pipeline::AnalysisEnd end = pass.Run(options.archives, number);
    run.progress.Clear();
    if (end == pipeline::AnalysisEnd::Stopped) return kExitInterrupted;
    if (end == pipeline::AnalysisEnd::TooSmall) PrintError(path, pipeline::kTooSmallText);
    for (const std::string& message : reporter.messages) PrintError(path, message);
    if (reporter.count > 0) ++withEntries;
    if (!options.json) std::cout << "  " << reporter.count << " entries listed\n";
    item["count"] = reporter.count;
    item["entries"] = std::move(entries);
    document["archives"].push_back(std::move(item));
  }
  if (options.json) std::cout << document.dump(2) << "\n";
  if (withEntries == 0) return kExitNothing;
  return withEntries == options.archives.size() ? kExitAllVerified : kExitSomeUnverified;
}

namespace {

struct Totals {
  std::size_t verified = 0, partial = 0, mismatch = 0, unverified = 0, failed = 0, skipped = 0, folders = 0;
  std::uint64_t bytes = 0;
  std::size_t archivesFailed = 0;

  std::string writeProblem;  // the last reason a file could not be written

  void Add(const EntrySaveReport& r) {
    bytes += r.bytesWritten;
    if (r.error && r.error->Code() == kFileError) writeProblem = r.error->what();
    switch (r.verdict) {
      case EntryVerdict::Verified: ++verified; break;
      case EntryVerdict::CrcMismatch: ++mismatch; break;
      case EntryVerdict::Partial: ++partial; break;
      case EntryVerdict::Unverified: ++unverified; break;
      case EntryVerdict::Folder: ++folders; break;
      case EntryVerdict::Skipped: ++skipped; break;
      case EntryVerdict::Failed: ++failed; break;
    }
  }
  std::size_t Recovered() const { return verified + partial + mismatch + unverified + folders; }
  int ExitCode() const {
    if (Recovered() == 0) return kExitNothing;
    bool whole = partial + mismatch + unverified + failed + archivesFailed == 0;
    return whole ? kExitAllVerified : kExitSomeUnverified;
  }
};

std::string ReportLine(const EntrySaveReport& r) {
  std::string line = "  " + r.name + "\t" + std::to_string(r.bytesWritten) + "\t" + VerdictText(r.verdict);
  if (r.encrypted) line += ", encrypted";
  if (r.dataEndedEarly) line += " (the archive ends inside it)";
  if (r.dataCorrupt) line += " (the compressed data is damaged)";
  if (r.verdict == EntryVerdict::Skipped) line += " (" + r.skipReason + ")";
  if (r.error && (r.verdict == EntryVerdict::Failed || r.verdict == EntryVerdict::Partial)) {
    line += " (" + std::string(r.error->what()) + ")";
  }
  return line;
}

json ReportJson(const EntrySaveReport& r) {
  json j = {{"name", r.name},       {"bytes", r.bytesWritten}, {"verdict", VerdictText(r.verdict)},
            {"encrypted", r.encrypted}, {"target", r.target.string()}};
  if (!r.skipReason.empty()) j["reason"] = r.skipReason;
  if (r.error) j["error"] = r.error->what();
  return j;
}

class RecoverPrinter : public pipeline::ISavingReporter {
 public:
  RecoverPrinter(const Options& options, CConsoleProgress& progress, Totals& totals, json& archives)
      : options_(options), progress_(progress), totals_(totals), archives_(archives) {}

  void SetCurrentBar(int percent) override { progress_.SetPercent(percent); }
  void SetOverallBar(int) override {}
  void SetFileName(const std::string& text) override {
    archive_ = text;
    progress_.SetArchive(text);
  }
  void SetFileNumber(const std::string&) override {}
  void SetFileTotal(const std::string&) override {}
  void SetDestination(const std::string& folder) override { BeginArchive(archive_, folder); }
  void ArchiveSkipped(const std::string& path, const std::string& reason) override {
    ++totals_.archivesFailed;
    if (archives_.empty() || archives_.back().value("archive", "") != path) archives_.push_back({{"archive", path}});
    archives_.back()["error"] = reason;
    progress_.Clear();
    PrintError(path, reason);
  }
  void EntrySaved(const EntrySaveReport& report) override {
    totals_.Add(report);
    progress_.AddBytes(report.bytesWritten);
    // The document is printed only with --json; a text run of a million
    // entries has no need to keep a record of each.
    if (options_.json) {
      archives_.back()["entries"].push_back(ReportJson(report));
    } else {
      progress_.Clear();
      std::cout << ReportLine(report) << "\n";
    }
  }
  void Finished() override {}

  void BeginArchive(const std::string& archive, const std::string& folder) {
    archives_.push_back({{"archive", archive}, {"folder", folder}, {"entries", json::array()}});
    if (!options_.json) {
      progress_.Clear();
      std::cout << archive << " -> " << folder << "\n";
    }
  }

 private:
  const Options& options_;
  CConsoleProgress& progress_;
  Totals& totals_;
  json& archives_;
  std::string archive_;
};

}  // namespace

int RecoverArchives(const Options& options) {
  const std::string& folder = options.out.empty() ? options.into : options.out;
  if (auto problem = PrepareOutputFolder(folder)) {
    std::cerr << "velmora-zip-cli: " << *problem << "\n";
    return kExitNothing;
  }
  CliRun run(options);
  Totals totals;
  json archives = json::array();
  RecoverPrinter printer(options, run.progress, totals, archives);

  std::vector<std::string> sources;
  for (const std::string& path : options.archives) {
    if (auto problem = CheckSource(path)) {
      PrintError(path, *problem);
      ++totals.archivesFailed;
      archives.push_back({{"archive", path}, {"error", *problem}});
    } else {
      sources.push_back(path);
    }
  }
  if (options.log) StartLog(run.log.Sink(), options.archives, run.context.RepairMode);

  bool stopped = false;
  if (!options.out.empty()) {
    int stall = 0;
    pipeline::SavingRequest request;
    request.sourceFiles = sources;
    request.destination = options.out;
    pipeline::CSavingPass pass(run.archive, run.context, run.log.Sink(), printer, run.gate, stall);
    stopped = pass.Run(request) == pipeline::SavingEnd::Stopped;
  } else {
    run.log.Sink().AppendLog(app::SavingHeadingBlock());
    try {
      pipeline::GateInstaller installed(run.context, run.gate);
      for (const std::string& path : sources) {
        std::error_code ec;
        if (std::filesystem::file_size(path, ec) <= pipeline::kMinArchiveSize) {
          printer.ArchiveSkipped(path, pipeline::kTooSmallText);
          continue;
        }
        printer.SetFileName(path);
        printer.BeginArchive(path, options.into);
        run.log.Sink().AppendLog(app::DestinationBlock(options.into));
        run.archive.OpenArchive(path);
        const std::size_t count = run.archive.EntryCount();
        for (std::size_t i = 0; i < count; ++i) {
          EntrySaveReport report;
          run.archive.SaveEntry(i, options.into, CRepairArchive::kSaveBufferSize, &report);
          printer.EntrySaved(report);
          // No saving pass moves the bar here: it moves entry by entry.
          printer.SetCurrentBar(static_cast<int>((i + 1) * 100 / count));
        }
        run.archive.CloseArchive();
      }
    } catch (const CArchiveError& e) {
      if (e.Code() != kStopped) throw;
      run.archive.CloseArchive();
      stopped = true;
    }
  }
  run.progress.Clear();
  run.log.Sink().AppendLog(stopped ? app::AbortedBlock() : app::CompletedBlock());

  if (options.json) {
    json document = {{"mode", options.mode},
                     {"archives", archives},
                     {"totals",
                      {{"verified", totals.verified},
                       {"crcMismatch", totals.mismatch},
                       {"partial", totals.partial},
                       {"unverified", totals.unverified},
                       {"folders", totals.folders},
                       {"skipped", totals.skipped},
                       {"failed", totals.failed},
                       {"bytes", totals.bytes}}},
                     {"stopped", stopped}};
    std::cout << document.dump(2) << "\n";
  } else {
    std::cout << totals.verified << " verified, " << totals.partial << " partial, " << totals.mismatch
              << " CRC mismatch, " << totals.unverified << " unverified, " << totals.failed << " failed, "
              << totals.skipped << " skipped; " << totals.bytes << " bytes written\n";
  }
  if (!totals.writeProblem.empty()) {
    std::cerr << "velmora-zip-cli: not everything could be written: " << totals.writeProblem << "\n";
  }
  if (stopped) return kExitInterrupted;
  return totals.ExitCode();
}

}  // namespace vz::cli
