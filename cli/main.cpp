// velmora-zip-cli: lists and recovers the entries of damaged ZIP archives.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "zip/RepairArchive.h"

namespace {

enum ExitCode : int { kAllVerified = 0, kSomeUnverified = 1, kNothingRecovered = 2, kUsage = 64 };

std::string OpenFailureText(int error) {
  if (error == EISDIR) return "is a folder, not an archive";
  if (error == EINVAL) return "is not a regular file";
  return std::strerror(error);
}

int ModeFromText(const std::string& mode) { return mode == "advance" ? vz::kAdvanceRepair : vz::kQuickRepair; }

int List(const std::vector<std::string>& archives, const std::string& mode) {
  vz::CScanContext context;
  context.RepairMode = ModeFromText(mode);
  vz::CRepairArchive archive(context);
  int status = kAllVerified;
  for (const std::string& path : archives) {
    try {
      archive.OpenArchive(path);
    } catch (const vz::CArchiveError& e) {
      std::cerr << path << ": " << e.what() << "\n";
      status = kNothingRecovered;
      continue;
    }
    if (!archive.IsOpen()) {
      std::cerr << path << ": " << OpenFailureText(archive.OpenError()) << "\n";
      status = kNothingRecovered;
      continue;
    }
    std::cout << path << ": " << archive.EntryCount() << " entries\n";
    vz::CEntryHeader info;
    for (std::size_t i = 0; archive.GetEntryInfo(info, i); ++i) {
      std::cout << "  " << info.name << "\t" << info.uncompressedSize << "\t" << info.compressedSize << "\t"
                << info.crc32 << (info.IsEncrypted() ? "\tencrypted" : "") << "\n";
    }
    archive.CloseArchive();
  }
  return status;
}

int Recover(const std::vector<std::string>& archives, const std::string& mode, const std::string& into) {
  vz::CScanContext context;
  context.RepairMode = ModeFromText(mode);
  vz::CRepairArchive archive(context);
  std::size_t verified = 0, unverified = 0, failed = 0;
  for (const std::string& path : archives) {
    try {
      archive.OpenArchive(path);
    } catch (const vz::CArchiveError& e) {
      std::cerr << path << ": " << e.what() << "\n";
      continue;
    }
    if (!archive.IsOpen()) {
      std::cerr << path << ": " << OpenFailureText(archive.OpenError()) << "\n";
      continue;
    }
    std::cout << path << " -> " << into << "\n";
    for (std::size_t i = 0; i < archive.EntryCount(); ++i) {
      vz::EntrySaveReport report;
      archive.SaveEntry(i, into, vz::CRepairArchive::kSaveBufferSize, &report);
      std::cout << "  " << report.name << "\t" << report.bytesWritten << "\t" << vz::VerdictText(report.verdict);
      if (report.encrypted) std::cout << ", encrypted";
      if (report.error) std::cout << " (" << report.error->what() << ")";
      if (!report.skipReason.empty()) std::cout << " (" << report.skipReason << ")";
      std::cout << "\n";
      switch (report.verdict) {
        case vz::EntryVerdict::Verified:
        case vz::EntryVerdict::Folder: ++verified; break;
        case vz::EntryVerdict::Skipped: break;
        case vz::EntryVerdict::Failed: ++failed; break;
        default: ++unverified; break;
      }
    }
    archive.CloseArchive();
  }
  std::cout << verified << " verified, " << unverified << " not verified, " << failed << " failed\n";
  if (verified + unverified == 0) return kNothingRecovered;
  return unverified + failed == 0 ? kAllVerified : kSomeUnverified;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Recovers the entries of damaged ZIP archives.\n\n"
               "Exit codes: 0 every entry recovered and verified, 1 something recovered but not all\n"
               "of it verified, 2 nothing recoverable, 64 usage error."};
  app.require_subcommand(1);
  std::string mode = "quick";
  std::vector<std::string> archives;
  std::string into;

  CLI::App* list = app.add_subcommand("list", "List the entries that can be recovered");
  list->add_option("--mode", mode, "quick or advance")->check(CLI::IsMember({"quick", "advance"}));
  list->add_option("archives", archives, "Archives to examine")->required();

  CLI::App* recover = app.add_subcommand("recover", "Write the recoverable entries into a folder");
  recover->add_option("--mode", mode, "quick or advance")->check(CLI::IsMember({"quick", "advance"}));
  recover->add_option("--into", into, "Folder to write the entries into")->required();
  recover->add_option("archives", archives, "Archives to recover")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? 0 : kUsage;
  }
  if (*list) return List(archives, mode);
  return Recover(archives, mode, into);
}
