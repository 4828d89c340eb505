#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/ZipWriter.h"
#include "zip/RepairArchive.h"

namespace vz::test {

// Compressible text and incompressible noise, the same for the same seed.
inline std::string Text(int seed, std::size_t size) {
  std::string s;
  std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
  while (s.size() < size) s += "row " + std::to_string(rng() % 100000) + " some words to compress\n";
  s.resize(size);
  return s;
}

inline std::string Noise(int seed, std::size_t size) {
  std::string s(size, '\0');
  std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

// A gate that lets n checkpoints pass and then asks for a stop.
class StopAfter : public IJobGate {
 public:
  explicit StopAfter(int n) : left_(n) {}
  void Checkpoint() override {
    if (--left_ < 0) throw CArchiveError(kStopped);
  }

 private:
  int left_;
};

class RecordingProgress : public IScanProgress {
 public:
  void OnScanProgress(std::uint64_t done, std::uint64_t total) override { reports.emplace_back(done, total); }
  std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
};

// Opens the archive at path in the given mode and returns its entries as handed out.
inline std::vector<CEntryHeader> ListEntries(const std::filesystem::path& path, int mode,
                                             CScanContext* contextOut = nullptr) {
  CScanContext local;
  CScanContext& context = contextOut != nullptr ? *contextOut : local;
  context.RepairMode = mode;
  CRepairArchive archive(context);
  archive.OpenArchive(path);
  std::vector<CEntryHeader> entries;
  CEntryHeader info;
  for (std::size_t i = 0; archive.GetEntryInfo(info, i); ++i) entries.push_back(info);
  archive.CloseArchive();
  return entries;
}

inline std::vector<std::string> Names(const std::vector<CEntryHeader>& entries) {
  std::vector<std::string> names;
  for (const CEntryHeader& e : entries) names.push_back(e.name);
  return names;
}

// Saves every entry of the archive below folder; returns the reports.
inline std::vector<EntrySaveReport> SaveAll(const std::filesystem::path& archivePath,
                                            const std::filesystem::path& folder, int mode = kQuickRepair) {
  CScanContext context;
  context.RepairMode = mode;
  CRepairArchive archive(context);
  archive.OpenArchive(archivePath);
  std::vector<EntrySaveReport> reports;
  for (std::size_t i = 0; i < archive.EntryCount(); ++i) {
    EntrySaveReport report;
    archive.SaveEntry(i, folder, CRepairArchive::kSaveBufferSize, &report);
    reports.push_back(report);
  }
  archive.CloseArchive();
  return reports;
}

}  // namespace vz::test
