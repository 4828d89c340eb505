// Throughput of the engine's three heavy jobs: the signature scan over data
// that holds no records, the rebuild of a long entry list, and extraction.
//
// Inputs are made once per process, only for the benchmarks selected, below
// the system's temporary folder (TMPDIR), and removed at exit. Their sizes can
// be changed through the environment, so that a quick check of this program
// does not have to write a quarter of a gigabyte:
//   VZ_BENCH_SCAN_MIB     signature-free file size, MiB (256)
//   VZ_BENCH_ENTRIES      entries of the many-entry archive (20000)
//   VZ_BENCH_EXTRACT_MIB  uncompressed size of the extraction archive, MiB (64)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tests/support/ZipWriter.h"
#include "zip/RepairArchive.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

std::uint64_t EnvOr(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0' || value == 0) {
    std::cerr << "vz_bench: ignoring " << name << "=" << text << " (want a positive whole number)\n";
    return fallback;
  }
  return value;
}

// splitmix64: fast enough to fill hundreds of MiB in well under a second, and
// seeded, so every run measures the same bytes.
class Prng {
 public:
  explicit Prng(std::uint64_t seed) noexcept : state_(seed) {}
  std::uint64_t Next() noexcept {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint32_t Below(std::uint32_t bound) noexcept {
    return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
  }

 private:
  std::uint64_t state_;
};

// The per-process folder that holds every input and output.
class Workspace {
 public:
  ~Workspace() { Remove(); }
  const fs::path& Root() {
    if (root_.empty()) {
      root_ = fs::temp_directory_path() / ("vz-bench-" + std::to_string(::getpid()));
      fs::create_directories(root_);
    }
    return root_;
  }
  void Remove() noexcept {
    if (root_.empty()) return;
    std::error_code ignored;
    fs::remove_all(root_, ignored);
    root_.clear();
  }

 private:
  fs::path root_;
};

Workspace& Work() {
  static Workspace workspace;
  return workspace;
}

void WriteChunk(std::ofstream& out, const std::vector<char>& chunk, std::size_t size, const fs::path& path) {
  out.write(chunk.data(), static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

enum class Fill { Random, Zeros };

// A file with no "PK" pair anywhere, so the scan finds nothing and has to
// look at every byte. Random bytes keep the 'P' bytes (one in 256, as in
// compressed data), so the search keeps stopping at false leads; zeros show
// the ceiling of the search itself.
const fs::path& SignatureFreeFile(Fill fill) {
  static std::array<fs::path, 2> made;
  fs::path& path = made[fill == Fill::Random ? 0 : 1];
  if (!path.empty()) return path;

  const std::uint64_t size = EnvOr("VZ_BENCH_SCAN_MIB", 256) * kMiB;
  fs::path target = Work().Root() / (fill == Fill::Random ? "scan-random.bin" : "scan-zeros.bin");
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  std::vector<char> chunk(kMiB, '\0');
  Prng rng(1);
  char previous = '\0';
  for (std::uint64_t done = 0; done < size; done += chunk.size()) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - done));
    if (fill == Fill::Random) {
      for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t v = rng.Next();
        for (std::size_t k = 0; k < 8 && i + k < n; ++k) chunk[i + k] = static_cast<char>(v >> (8 * k));
      }
      for (std::size_t i = 0; i < n; ++i) {
        if (previous == 'P' && chunk[i] == 'K') chunk[i] = 'k';
        previous = chunk[i];
      }
    }
    WriteChunk(out, chunk, n, target);
  }
  out.close();
  if (!out) throw std::runtime_error("cannot write " + target.string());
  path = target;
  return path;
}

// Text that deflates about as well as source code or logs (roughly 3:1).
std::string MakeText(Prng& rng, std::size_t size) {
  static constexpr std::array<std::string_view, 32> kWords = {
      "archive", "entry",  "header", "offset", "length",  "value",   "return", "struct",
      "const",   "static", "buffer", "stream", "record",  "central", "local",  "folder",
      "error",   "status", "update", "report", "scanner", "window",  "signal", "object",
      "the",     "of",     "and",    "to",     "in",      "for",     "is",     "with"};
  std::string text;
  text.reserve(size + 128);
  while (text.size() < size) {
    text += std::to_string(rng.Below(100000));
    const std::uint32_t words = 4 + rng.Below(10);
    for (std::uint32_t w = 0; w < words; ++w) {
      text += ' ';
      text += kWords[rng.Below(kWords.size())];
    }
    text += '\n';
  }
  text.resize(size);
  return text;
}

struct ArchiveInput {
  fs::path path;
  std::size_t entries = 0;
  std::uint64_t uncompressed = 0;
  std::uint64_t length = 0;
};

// Many small deflated files in 100 folders, as a source tree would give.
const ArchiveInput& ManyEntriesArchive() {
  static ArchiveInput input;
  if (!input.path.empty()) return input;

  const std::size_t count = static_cast<std::size_t>(EnvOr("VZ_BENCH_ENTRIES", 20000));
  vz::test::ZipWriter writer;
  Prng rng(2);
  ArchiveInput made;
  char name[64];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "src/module%03zu/file%05zu.txt", i % 100, i);
    std::string data = MakeText(rng, 200 + rng.Below(1800));
    made.uncompressed += data.size();
    writer.Add(name, std::move(data));
  }
  writer.Finish();
  made.path = Work().Root() / "many-entries.zip";
  writer.Save(made.path);
  made.entries = count;
  made.length = writer.Bytes().size();
  input = std::move(made);
  return input;
}

// An intact archive of about 200 deflated text files of varied sizes.
const ArchiveInput& ExtractionArchive() {
  static ArchiveInput input;
  if (!input.path.empty()) return input;

  constexpr std::size_t kEntries = 200;
  const std::uint64_t total = EnvOr("VZ_BENCH_EXTRACT_MIB", 64) * kMiB;
  const std::uint32_t mean = static_cast<std::uint32_t>(total / kEntries);
  vz::test::ZipWriter writer;
  Prng rng(3);
  ArchiveInput made;
  char name[64];
  for (std::size_t i = 0; i < kEntries; ++i) {
    std::snprintf(name, sizeof name, "docs/book%zu/chapter%03zu.txt", i % 8, i);
    std::string data = MakeText(rng, mean / 2 + rng.Below(mean));
    made.uncompressed += data.size();
    writer.Add(name, std::move(data));
  }
  writer.Finish();
  made.path = Work().Root() / "extract.zip";
  writer.Save(made.path);
  made.entries = kEntries;
  made.length = writer.Bytes().size();
  input = std::move(made);
  return input;
}

double ToMiB(std::uint64_t bytes) { return static_cast<double>(bytes) / static_cast<double>(kMiB); }

// Opening a file with no records is the scan and nothing else.
void BM_SignatureScan(benchmark::State& state, Fill fill, int mode) {
  try {
    const fs::path& file = SignatureFreeFile(fill);
    vz::CScanContext context;
    context.RepairMode = mode;
    vz::CRepairArchive archive(context);
    std::uint64_t length = 0;
    for (auto _ : state) {
      archive.OpenArchive(file);
      if (!archive.IsOpen()) {
        state.SkipWithError("the signature-free file cannot be opened");
        break;
      }
      if (archive.EntryCount() != 0) {
        state.SkipWithError("entries found in signature-free data");
        break;
      }
      length = archive.ArchiveLength();
      archive.CloseArchive();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * length));
    state.counters["file_MiB"] = ToMiB(length);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// OpenArchive on an intact archive of many small entries: the scan plus the
// per-entry work of reading headers and pairing the central records.
void BM_RebuildEntryList(benchmark::State& state, int mode) {
  try {
    const ArchiveInput& input = ManyEntriesArchive();
    vz::CScanContext context;
    context.RepairMode = mode;
    vz::CRepairArchive archive(context);
    for (auto _ : state) {
      archive.OpenArchive(input.path);
      if (archive.EntryCount() != input.entries) {
        std::string why = "rebuilt " + std::to_string(archive.EntryCount()) + " entries, expected " +
                          std::to_string(input.entries);
        state.SkipWithError(why.c_str());
        break;
      }
      archive.CloseArchive();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * input.entries));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.length));
    state.counters["entries"] = static_cast<double>(input.entries);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// SaveEntry for every entry into an emptied folder; the open is not timed.
// Bytes are the uncompressed bytes written.
void BM_Extract(benchmark::State& state) {
  try {
    const ArchiveInput& input = ExtractionArchive();
    const fs::path out = Work().Root() / "extract-out";
    vz::CScanContext context;
    vz::CRepairArchive archive(context);
    archive.OpenArchive(input.path);
    if (archive.EntryCount() != input.entries) {
      state.SkipWithError("the extraction archive did not list every entry");
      return;
    }
    vz::EntrySaveReport report;
    for (auto _ : state) {
      state.PauseTiming();
      fs::remove_all(out);
      state.ResumeTiming();
      bool allVerified = true;
      for (std::size_t i = 0; i < archive.EntryCount(); ++i) {
        archive.SaveEntry(i, out, vz::CRepairArchive::kSaveBufferSize, &report);
        allVerified = allVerified && report.verdict == vz::EntryVerdict::Verified;
      }
      if (!allVerified) {
        state.SkipWithError("an entry of the intact archive did not extract as verified");
        break;
      }
    }
    archive.CloseArchive();
    fs::remove_all(out);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.uncompressed));
    state.counters["archive_MiB"] = ToMiB(input.length);
    state.counters["output_MiB"] = ToMiB(input.uncompressed);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// Wall time throughout: a user waits for page-cache reads and writes too.
BENCHMARK_CAPTURE(BM_SignatureScan, random_quick, Fill::Random, vz::kQuickRepair)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SignatureScan, random_advance, Fill::Random, vz::kAdvanceRepair)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SignatureScan, zeros_quick, Fill::Zeros, vz::kQuickRepair)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SignatureScan, zeros_advance, Fill::Zeros, vz::kAdvanceRepair)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RebuildEntryList, quick, vz::kQuickRepair)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RebuildEntryList, advance, vz::kAdvanceRepair)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Extract)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  int status = 0;
  try {
    benchmark::RunSpecifiedBenchmarks();
  } catch (const std::exception& e) {
    std::cerr << "vz_bench: " << e.what() << "\n";
    status = 1;
  }
  benchmark::Shutdown();
  Work().Remove();
  return status;
}
