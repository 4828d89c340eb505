// libFuzzer target: open an arbitrary file as an archive, list it and extract
// every entry, the way the repair job does.
//
// Input: byte 0 picks the scan (bit 0: 0 Quick, 1 Advance) and the path
// (bit 1: 0 the engine directly, 1 the analysis and saving passes, which also
// stop themselves after 200 saved entries); the rest is the archive. Besides the sanitizers, each run checks what the engine promises
// its callers and traps (__builtin_trap) when a promise is broken:
//   - nothing is written outside the destination folder;
//   - only folders and regular files are created, never links or others;
//   - every file descriptor the run opened is closed again;
//   - a written file holds exactly the bytes the report counts, and never
//     more than the entry's declared size when that size is known;
//   - SaveEntry throws nothing when there is no gate to stop it.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "zip/ArchiveError.h"
#include "zip/EntryHeader.h"
#include "zip/RepairArchive.h"
#include "zip/ScanContext.h"
#include "app/ActivityLog.h"
#include "pipeline/AnalysisPass.h"
#include "pipeline/JobControl.h"
#include "pipeline/SavingPass.h"
#include "tests/support/ZipWriter.h"

namespace fs = std::filesystem;

namespace {

// Extracting thousands of entries per input would make every input slow
// without reaching new code.
constexpr std::size_t kMaxSavedEntries = 200;

// The destination sits a few folders below the sandbox so that a name that
// climbs out by one or several levels still lands somewhere we look.
constexpr int kDepth = 4;

struct Sandbox {
  fs::path root;       // per-process folder below the system's temp folder
  fs::path input;      // root/input.zip, rewritten for every input
  fs::path levels[kDepth];  // root/l0, root/l0/l1, ...
  fs::path output;     // levels[kDepth - 1]/out, fresh for every input
};

Sandbox* g_box = nullptr;

// Says which promise broke before trapping: the trap's own report only names
// this file.
[[noreturn]] void Fail(int line = __builtin_LINE()) {
  std::fprintf(stderr, "FuzzOpenExtract: check failed at line %d\n", line);
  __builtin_trap();
}
void Check(bool ok, int line = __builtin_LINE()) {
  if (!ok) Fail(line);
}

void RemoveSandbox() {
  if (g_box == nullptr) return;
  std::error_code ec;
  fs::remove_all(g_box->root, ec);
}

// The names directly in folder (lstat-free: only the names matter here).
std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    names.insert(it->path().filename().string());
  }
  if (ec) Fail();
  return names;
}

void CheckOnly(const fs::path& folder, std::set<std::string> expected) { Check(Names(folder) == expected); }

// The sandbox holds the input, the chain of levels and, at the bottom, the
// destination (when it exists); nothing else anywhere.
void CheckSandbox(bool outputExists) {
  CheckOnly(g_box->root, {"input.zip", "l0"});
  for (int i = 0; i + 1 < kDepth; ++i) CheckOnly(g_box->levels[i], {"l" + std::to_string(i + 1)});
  if (outputExists) {
    CheckOnly(g_box->levels[kDepth - 1], {"out"});
  } else {
    CheckOnly(g_box->levels[kDepth - 1], {});
  }
}

// Below the destination the engine creates folders and regular files only.
void CheckOutputTree() {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(g_box->output, fs::directory_options::none, ec), end;
       !ec && it != end; it.increment(ec)) {
    fs::file_status st = it->symlink_status(ec);
    if (ec) Fail();
    Check(fs::is_directory(st) || fs::is_regular_file(st));
  }
  if (ec) Fail();
}

bool IsBelow(const fs::path& path, const fs::path& folder) {
  fs::path rel = path.lexically_normal().lexically_relative(folder.lexically_normal());
  return !rel.empty() && *rel.begin() != ".." && rel.is_relative();
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
  int fd = ::open(g_box->input.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail();
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail();
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) Fail();
}

void CheckSaved(const vz::CEntryHeader& info, const vz::EntrySaveReport& report) {
  if (!report.target.empty()) Check(IsBelow(report.target, g_box->output));
  switch (report.verdict) {
    case vz::EntryVerdict::Verified:
    case vz::EntryVerdict::CrcMismatch:
    case vz::EntryVerdict::Unverified:
    case vz::EntryVerdict::Partial: {
      // Only a write or close failure leaves no target behind; none happen here.
      Check(!report.target.empty());
      struct stat st {};
      Check(::lstat(report.target.c_str(), &st) == 0);
      Check(S_ISREG(st.st_mode));
      Check(static_cast<std::uint64_t>(st.st_size) == report.bytesWritten);
      if (!info.SizeUnknown()) Check(report.bytesWritten <= info.uncompressedSize);
      break;
    }
    case vz::EntryVerdict::Folder: {
      struct stat st {};
      Check(::lstat(report.target.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
      break;
    }
    case vz::EntryVerdict::Skipped:
    case vz::EntryVerdict::Failed:
      break;
  }
}


// The analysis and saving passes over the same input, as the desktop and the
// command line run them; a stop after 200 entries exercises the stop path.
struct QuietAnalysis : vz::pipeline::IAnalysisReporter {
  void SetBarPosition(int p) override { Check(p >= 0 && p <= 100); }
  void ClearRows() override { rows = 0; }
  void AddRow(const vz::pipeline::EntryRow&) override { ++rows; }
  void SetListedCount(const std::string&) override {}
  void ShowMessage(const vz::pipeline::UserMessage&) override {}
  void Finished() override { finished = true; }
  std::size_t rows = 0;
  bool finished = false;
};

struct QuietSaving : vz::pipeline::ISavingReporter {
  explicit QuietSaving(vz::pipeline::CJobControl& control) : control(control) {}
  void SetCurrentBar(int p) override { Check(p >= 0 && p <= 100); }
  void SetOverallBar(int p) override { Check(p >= 0 && p <= 100); }
  void SetFileName(const std::string&) override {}
  void SetFileNumber(const std::string&) override {}
  void SetFileTotal(const std::string&) override {}
  void SetDestination(const std::string& folder) override { Check(IsBelow(folder, g_box->output)); }
  void EntrySaved(const vz::EntrySaveReport& report) override {
    if (!report.target.empty()) Check(IsBelow(report.target, g_box->output));
    if (++saved == kMaxSavedEntries) control.Stop();
  }
  void Finished() override {}
  vz::pipeline::CJobControl& control;
  std::size_t saved = 0;
};

void RunPasses(int mode) {
  vz::CScanContext context;
  context.RepairMode = mode;
  vz::CRepairArchive archive(context);
  vz::app::CNullLog log;
  vz::pipeline::CJobControl control;
  int stall = 0;
  QuietAnalysis analysis;
  const std::vector<std::string> sources = {g_box->input.string()};
  auto end = vz::pipeline::CAnalysisPass(archive, context, log, analysis, control, stall).Run(sources, 1);
  Check(end != vz::pipeline::AnalysisEnd::Stopped && analysis.finished);
  Check(!archive.IsOpen());
  QuietSaving saving(control);
  vz::pipeline::SavingRequest request;
  request.sourceFiles = sources;
  request.destination = g_box->output;
  vz::pipeline::CSavingPass(archive, context, log, saving, control, stall).Run(request);
  Check(!archive.IsOpen());
}

}  // namespace

// Every UndefinedBehaviorSanitizer report stops the run, so that libFuzzer
// keeps the input; UBSAN_OPTIONS from the environment still overrides this.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static Sandbox box;
  std::string pattern = (fs::temp_directory_path() / "vz-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Fail();
  box.root = pattern;
  box.input = box.root / "input.zip";
  fs::path level = box.root;
  for (int i = 0; i < kDepth; ++i) {
    level /= "l" + std::to_string(i);
    box.levels[i] = level;
    fs::create_directory(level);
  }
  box.output = level / "out";
  g_box = &box;
  std::atexit(RemoveSandbox);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return -1;
  const int mode = (data[0] & 1) != 0 ? vz::kAdvanceRepair : vz::kQuickRepair;
  WriteInput(data + 1, size - 1);

  std::error_code ec;
  fs::create_directory(g_box->output, ec);
  if (ec) Fail();
  const int fdsBefore = vz::test::CountOpenDescriptors();

  if ((data[0] & 2) != 0) {
    RunPasses(mode);
  } else {
    vz::CScanContext context;
    context.RepairMode = mode;
    vz::CRepairArchive archive(context);
    bool opened = true;
    try {
      archive.OpenArchive(g_box->input);
    } catch (const vz::CArchiveError&) {
      // A read error on our own temp file is not expected, but it is a
      // documented outcome of OpenArchive.
      opened = false;
    }
    if (opened) {
      Check(archive.IsOpen());
      const std::size_t count = archive.EntryCount();
      Check(context.EntriesFound == count);
      vz::CEntryHeader info;
      for (std::size_t i = 0; i < count; ++i) {
        Check(archive.GetEntryInfo(info, i));
        // Names are handed out with "\" separators only.
        Check(info.name.find('/') == std::string::npos);
        (void)info.TryGetEntryTime();
      }
      Check(!archive.GetEntryInfo(info, count));

      const std::size_t toSave = std::min(count, kMaxSavedEntries);
      for (std::size_t i = 0; i < toSave; ++i) {
        Check(archive.GetEntryInfo(info, i));
        vz::EntrySaveReport report;
        try {
          archive.SaveEntry(i, g_box->output, vz::CRepairArchive::kSaveBufferSize, &report);
        } catch (const vz::CArchiveError& e) {
          std::fprintf(stderr, "FuzzOpenExtract: SaveEntry(%zu) threw: %s\n", i, e.what());
          Fail();
        } catch (const std::exception& e) {
          // Only a gate's stop may escape, and there is no gate.
          std::fprintf(stderr, "FuzzOpenExtract: SaveEntry(%zu) threw: %s\n", i, e.what());
          Fail();
        } catch (...) {
          Fail();
        }
        CheckSaved(info, report);
      }
    }
    archive.CloseArchive(false);
    Check(!archive.IsOpen());
  }

  Check(vz::test::CountOpenDescriptors() == fdsBefore);
  CheckSandbox(true);
  CheckOutputTree();
  fs::remove_all(g_box->output, ec);
  if (ec) Fail();
  CheckSandbox(false);
  return 0;
}
