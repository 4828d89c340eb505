#include "RepairArchive.h"

#include <algorithm>
#include <array>
#include <memory>

#include "EntryPath.h"
#include "EntryReader.h"
#include "OutputFile.h"
#include "Records.h"

namespace vz {
namespace {

// An entry whose size is unknown is read until its data ends, which a
// hostile file can make enormous. No genuine deflate stream grows more than
// 1,032 times its input, and nothing may take the last 1 % of the
// destination's space: past either bound the entry is cut and reported.
class OutputGuard {
 public:
  static constexpr std::uint64_t kMaxRatio = 1032;
  static constexpr std::uint64_t kSlack = std::uint64_t{1} << 20;
  static constexpr std::uint64_t kSpaceCheckEvery = std::uint64_t{1} << 20;

  OutputGuard(const CEntryReader& reader, const COutputFile& out) noexcept : reader_(reader), out_(out) {}

  void Check(std::size_t next) {
    if (!reader_.SizeUnknown()) return;
    const std::uint64_t after = out_.Written() + next;
    if (after > reader_.Consumed() * kMaxRatio + kSlack) throw CArchiveError(kOutputLimit, out_.Target().string());
    if (after < nextSpaceCheck_) return;
    nextSpaceCheck_ = after + kSpaceCheckEvery;
    std::uint64_t freeBytes = 0, totalBytes = 0;
    if (out_.SpaceLeft(freeBytes, totalBytes) && freeBytes < next + totalBytes / 100) {
      throw CArchiveError(kOutputLimit, out_.Target().string());
    }
  }

 private:
  const CEntryReader& reader_;
  const COutputFile& out_;
  std::uint64_t nextSpaceCheck_ = 0;
};

}  // namespace

const char* VerdictText(EntryVerdict verdict) noexcept {
  switch (verdict) {
    case EntryVerdict::Verified: return "verified";
    case EntryVerdict::CrcMismatch: return "CRC mismatch";
    case EntryVerdict::Partial: return "partial";
    case EntryVerdict::Unverified: return "unverified";
    case EntryVerdict::Folder: return "folder";
    case EntryVerdict::Skipped: return "skipped";
    case EntryVerdict::Failed: return "failed";
  }
  return "failed";
}

CRepairArchive::CRepairArchive(CScanContext& context)
    : context_(context), storage_(context), directory_(storage_, context) {}

void CRepairArchive::OpenArchive(const std::filesystem::path& path, int mode, std::uint32_t volumeSize,
                                 std::uint64_t startOffset) {
  CloseArchive();
  storage_.Open(path, mode, volumeSize);
  if (!storage_.IsFileOpen()) return;
  directory_.Reset();
  directory_.Scan(startOffset);
}

void CRepairArchive::CloseArchive(bool afterException) noexcept {
  directory_.ClearEntries();
  storage_.Close(afterException);
}

bool CRepairArchive::GetEntryInfo(CEntryHeader& info, std::size_t index) const {
  if (!directory_.HasIndex(index)) return false;
  info = directory_.Entry(index);
  std::replace(info.name.begin(), info.name.end(), '/', '\\');
  return true;
}

bool CRepairArchive::SaveEntry(std::size_t index, const std::filesystem::path& folder, std::uint32_t bufferSize,
                               EntrySaveReport* reportOut) {
  EntrySaveReport local;
  EntrySaveReport& report = reportOut != nullptr ? *reportOut : local;
  report = EntrySaveReport{};
  // Nothing is created once a stop was asked for, and nothing while paused.
  context_.Checkpoint();
  if (bufferSize == 0) {
    report.error = CArchiveError(kInvalidArgument);
    return false;
  }
  CEntryHeader info;
  GetEntryInfo(info, index);
  report.name = info.name;
  report.encrypted = info.IsEncrypted();
  report.crcExpected = info.crc32;

  EntryPath path = SanitizeEntryName(info.name);
  if (path.Empty()) {
    report.verdict = EntryVerdict::Skipped;
    report.skipReason = info.name.empty() ? "no name" : "the name holds no usable path";
    return true;
  }
  if (path.folder) {
    try {
      OpenEntryFolders(folder, path.components);
      report.target = folder / path.Joined('/');
      report.verdict = EntryVerdict::Folder;
      return true;
    } catch (const CArchiveError& e) {
      report.error = e;
      return false;
    }
  }
  context_.ArchiveEndedEarly = false;
  DataError = false;
  bool written = SaveFile(index, info, folder, bufferSize, report);
  context_.ArchiveEndedEarly = false;
  DataError = false;
  return written;
}

bool CRepairArchive::SaveFile(std::size_t index, const CEntryHeader& info, const std::filesystem::path& folder,
                              std::uint32_t bufferSize, EntrySaveReport& report) {
  EntryPath path = SanitizeEntryName(info.name);
  CEntryReader reader;
  OpenedEntry opened;
  std::unique_ptr<COutputFile> out;
  try {
    opened = directory_.OpenEntry(index);
    reader.Begin(storage_, directory_.Entry(index), opened);
    out = std::make_unique<COutputFile>(folder, path);
    report.target = out->Target();
  } catch (const CArchiveError& e) {
    if (e.Code() == kStopped) throw;
    report.error = e;
    report.verdict = EntryVerdict::Failed;
    return false;
  }

  auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(bufferSize);
  try {
    OutputGuard guard(reader, *out);
    while (reader.State() == DataEnd::Running) {
      context_.Checkpoint();
      std::size_t n = reader.Read({buffer.get(), bufferSize});
      if (n > 0) {
        guard.Check(n);
        out->Write({buffer.get(), n});
      }
      report.bytesWritten = out->Written();
    }
  } catch (const CArchiveError& e) {
    // A stop or a write failure: keep what was written, close the file.
    report.bytesWritten = out->Written();
    report.crcComputed = reader.Crc();
    report.verdict = EntryVerdict::Partial;
    report.error = e;
    try {
      out->Close();
    } catch (const CArchiveError&) {
    }
    if (e.Code() == kStopped) throw;
    return false;
  }
  report.crcComputed = reader.Crc();
  report.dataEndedEarly = reader.State() == DataEnd::EndedEarly;
  report.dataCorrupt = reader.State() == DataEnd::Corrupt;
  if (report.dataEndedEarly) context_.ArchiveEndedEarly = true;
  if (report.dataCorrupt) DataError = true;

  // Corrupt data keeps the time of writing, which tells the user the file is
  // not what the archive held; data cut short by the archive's end keeps the
  // entry's time like a whole file.
  if (!report.dataCorrupt) report.timesSet = out->SetTimes(info.TryGetEntryTime());
  try {
    out->Close();
  } catch (const CArchiveError& e) {
    report.error = e;
    report.verdict = EntryVerdict::Partial;
    return false;
  }

  const CEntryHeader& entry = directory_.Entry(index);
  bool crcKnown = !entry.SizeUnknown();
  std::uint32_t expected = entry.crc32;
  try {
    // Sizes from a damaged header can point anywhere.
    const std::uint64_t declaredEnd = SaturatingAdd(opened.dataStart, entry.compressedSize);
    std::uint64_t dataEnd = entry.SizeUnknown() ? reader.DataEndPosition() : declaredEnd;
    if (entry.SizeUnknown() && reader.State() == DataEnd::Complete) {
      // A streamed entry whose descriptor the scan did not find: the one right
      // after its data still tells whether the data is whole.
      std::array<std::uint8_t, kZip64DescriptorSize> bytes{};
      std::size_t got = storage_.File().ReadAt(dataEnd, bytes);
      auto d = ParseTrailingDescriptor(std::span(bytes.data(), got), entry.zip64);
      if (d && d->compressedSize == dataEnd - opened.dataStart) {
        crcKnown = true;
        expected = d->crc32;
      }
    }
    if (opened.checkDescriptorAtClose && report.timesSet && !entry.SizeUnknown()) {
      report.descriptorMismatch = !directory_.DescriptorMatches(index, dataEnd);
    }
  } catch (const CArchiveError& e) {
    // The data is written; only its check could not be read.
    report.error = e;
  }
  report.crcExpected = expected;

  if (report.dataEndedEarly || report.dataCorrupt) {
    report.verdict = EntryVerdict::Partial;
  } else if (!crcKnown) {
    report.verdict = EntryVerdict::Unverified;
  } else {
    report.verdict = report.crcComputed == expected ? EntryVerdict::Verified : EntryVerdict::CrcMismatch;
  }
  return true;
}

}  // namespace vz
