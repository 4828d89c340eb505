#include "EntryScan.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_set>

#include "NameCodec.h"
#include "ProgressMarks.h"
#include "Records.h"
#include "ScanWindow.h"

namespace vz {
namespace {

// Central signatures met after the last local header are kept so that the
// central pass need not read that stretch of the file again; a hostile file
// full of them falls back to a real second read instead of unbounded memory.
constexpr std::size_t kMaxCentralCandidates = std::size_t{1} << 20;

// A local header as the scan met it.
struct LocalHit {
  std::uint64_t offset = 0;
  std::uint64_t next = 0;       // where the pass goes on: offset + 30 + name + compressed size
  std::uint64_t dataStart = 0;  // offset + 30 + name + patched extra length
  LocalFixed fixed;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  bool zip64 = false;
  std::string rawName;          // empty when the name is over 500 bytes
  std::optional<DataDescriptor> descriptor;

  // Streamed entries (flag bit 3) and entries with no sizes may have their
  // real CRC and sizes in a descriptor after the data.
  bool WantsDescriptor() const noexcept {
    return (fixed.flag & kFlagDataDescriptor) != 0 || (compressedSize == 0 && uncompressedSize == 0);
  }
};

struct CentralHit {
  std::uint64_t compressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint64_t localHeaderOffset = 0;
  std::string rawName;
};

struct LocalPass {
  std::vector<LocalHit> hits;
  std::uint64_t endOfLocalData = 0;
  std::vector<std::uint64_t> centralCandidates;
  bool candidatesComplete = true;
};

std::optional<LocalHit> ReadLocalHeader(CScanWindow& window, std::uint64_t offset) {
  std::array<std::uint8_t, kLocalFixedSize> fixedBytes{};
  // A header cut by the end of the file is no header: the file ends inside it.
  if (window.Copy(offset, fixedBytes) < kLocalFixedSize) return std::nullopt;
  LocalHit hit;
  hit.offset = offset;
  hit.fixed = ParseLocalFixed(fixedBytes);
  hit.compressedSize = hit.fixed.compressedSize;
  hit.uncompressedSize = hit.fixed.uncompressedSize;
  const std::uint16_t n = hit.fixed.nameLength;
  const std::uint16_t m = hit.fixed.extraLength;

  std::vector<std::uint8_t> tail(static_cast<std::size_t>(n) + m);
  std::size_t got = window.Copy(offset + kLocalFixedSize, tail);
  if (n <= kMaxNameLength) {
    hit.rawName.assign(reinterpret_cast<const char*>(tail.data()), std::min<std::size_t>(n, got));
  }
  if (got > n) {
    std::span<const std::uint8_t> extra(tail.data() + n, got - n);
    bool needU = hit.fixed.uncompressedSize == kZip64Marker;
    bool needC = hit.fixed.compressedSize == kZip64Marker;
    if (auto z = ParseZip64Extra(extra, needU, needC, false)) {
      hit.zip64 = true;
      if (needU && z->uncompressedSize) hit.uncompressedSize = *z->uncompressedSize;
      if (needC && z->compressedSize) hit.compressedSize = *z->compressedSize;
    }
  }
  hit.dataStart = offset + kLocalFixedSize + n + PatchLocalExtraLength(m);
  const std::uint64_t skipFrom = offset + kLocalFixedSize + (n > kMaxNameLength ? 0 : n);
  // A ZIP64 size can be anything; the pass must still only move forward.
  hit.next = SaturatingAdd(skipFrom, hit.compressedSize);
  return hit;
}

// A descriptor belongs to the entry before it only when its compressed size
// is exactly the distance from that entry's data; this keeps a stray
// signature inside the data from being taken for one.
bool TryDescriptorAt(CScanWindow& window, std::uint64_t position, LocalHit& owner) {
  if (position < owner.dataStart) return false;
  std::array<std::uint8_t, kZip64DescriptorSize> bytes{};
  std::size_t got = window.Copy(position, bytes);
  auto d = ParseSignedDescriptor(std::span(bytes.data(), got), owner.zip64);
  if (!d || d->compressedSize != position - owner.dataStart) return false;
  owner.descriptor = d;
  return true;
}

LocalPass RunLocalPass(CScanWindow& window, CProgressMarks& marks, CScanContext& context) {
  LocalPass pass;
  marks.Restart();
  const std::uint64_t length = window.Length();
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t pending = kNone;  // the hit still looking for its descriptor
  std::uint64_t p = 0;
  while (p < length) {
    unsigned mask = kFindLocal | kFindCentral | (pending != kNone ? kFindDescriptor : 0u);
    RecordKind kind = RecordKind::None;
    std::uint64_t c = window.FindSignature(p, length, mask, &kind);
    marks.StepsThrough(p, c);
    if (c >= length) break;
    marks.StepAt(c);
    if (kind == RecordKind::LocalHeader) {
      if (auto hit = ReadLocalHeader(window, c)) {
        context.Checkpoint();
        pass.hits.push_back(std::move(*hit));
        const LocalHit& added = pass.hits.back();
        pending = added.WantsDescriptor() ? pass.hits.size() - 1 : kNone;
        pass.centralCandidates.clear();
        pass.candidatesComplete = true;
        p = added.next;
        pass.endOfLocalData = p;
        continue;
      }
    } else if (kind == RecordKind::DataDescriptor && pending != kNone) {
      if (TryDescriptorAt(window, c, pass.hits[pending])) {
        context.DescriptorSeen = true;
        pending = kNone;
      }
    } else if (kind == RecordKind::CentralHeader && pass.candidatesComplete) {
      if (pass.centralCandidates.size() < kMaxCentralCandidates) {
        pass.centralCandidates.push_back(c);
      } else {
        pass.centralCandidates.clear();
        pass.candidatesComplete = false;
      }
    }
    p = c + 1;
  }
  return pass;
}

// Reads the central header at c; returns where the central pass goes on.
std::uint64_t ReadCentralHeader(CScanWindow& window, std::uint64_t c, bool quick, std::vector<CentralHit>& out) {
  std::array<std::uint8_t, kCentralFixedSize> fixedBytes{};
  window.Copy(c, fixedBytes);  // the pass only looks where 50 bytes remain
  CentralFixed f = ParseCentralFixed(fixedBytes);
  const std::uint16_t n = f.nameLength;
  if (quick && n > kMaxNameLength) return c + kCentralFixedSize;

  CentralHit hit;
  hit.compressedSize = f.compressedSize;
  hit.nameLength = n;
  hit.localHeaderOffset = f.localHeaderOffset;
  bool needU = f.uncompressedSize == kZip64Marker;
  bool needC = f.compressedSize == kZip64Marker;
  bool needO = f.localHeaderOffset == kZip64Marker;
  if (quick || needU || needC || needO) {
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(n) + f.extraLength);
    std::size_t got = window.Copy(c + kCentralFixedSize, tail);
    if (quick) hit.rawName.assign(reinterpret_cast<const char*>(tail.data()), std::min<std::size_t>(n, got));
    if ((needU || needC || needO) && got > n) {
      if (auto z = ParseZip64Extra(std::span(tail.data() + n, got - n), needU, needC, needO)) {
        if (needC && z->compressedSize) hit.compressedSize = *z->compressedSize;
        if (needO && z->localHeaderOffset) hit.localHeaderOffset = *z->localHeaderOffset;
      }
    }
  }
  out.push_back(std::move(hit));
  return c + kCentralFixedSize + n;
}

std::vector<CentralHit> RunCentralPass(CScanWindow& window, CProgressMarks& marks, CScanContext& context,
                                       const LocalPass& local, bool quick) {
  std::vector<CentralHit> hits;
  marks.Restart();
  const std::uint64_t length = window.Length();
  if (length < 50) return hits;
  const std::uint64_t stop = length - 50 + 1;  // a header closer than 50 bytes to the end is not looked at
  std::uint64_t p = local.endOfLocalData;
  auto handle = [&](std::uint64_t c) {
    marks.StepAt(c);
    context.Checkpoint();
    p = ReadCentralHeader(window, c, quick, hits);
  };
  if (local.candidatesComplete) {
    // The local pass already looked at every position from the end of the
    // local data on; replay its findings instead of reading them again.
    for (std::uint64_t c : local.centralCandidates) {
      if (c < p) continue;
      if (c >= stop) break;
      marks.StepsThrough(p, c);
      handle(c);
    }
    marks.StepsThrough(p, stop);
    return hits;
  }
  while (p < stop) {
    std::uint64_t c = window.FindSignature(p, stop, kFindCentral, nullptr);
    marks.StepsThrough(p, c);
    if (c >= stop) break;
    handle(c);
  }
  return hits;
}

// Replays a local pass's progress: the second Quick pass visits exactly the
// positions of the first, so it need not read the file again.
void ReplayLocalProgress(CProgressMarks& marks, const LocalPass& pass, std::uint64_t length) {
  marks.Restart();
  std::uint64_t p = 0;
  for (const LocalHit& hit : pass.hits) {
    marks.StepsThrough(p, hit.offset);
    marks.StepAt(hit.offset);
    p = hit.next;
  }
  marks.StepsThrough(p, length);
}

CEntryHeader MakeEntry(const LocalHit& hit) {
  CEntryHeader e;
  e.versionNeeded = hit.fixed.versionNeeded;
  e.flag = hit.fixed.flag;
  e.method = hit.fixed.method;
  e.modTime = hit.fixed.modTime;
  e.modDate = hit.fixed.modDate;
  e.crc32 = hit.fixed.crc32;
  e.compressedSize = hit.compressedSize;
  e.uncompressedSize = hit.uncompressedSize;
  e.nameLength = hit.fixed.nameLength;
  e.extraLength = hit.fixed.extraLength;
  e.localHeaderOffset = hit.offset;
  e.zip64 = hit.zip64;
  e.name = DecodeEntryName(hit.rawName);
  if (hit.descriptor) {
    e.crc32 = hit.descriptor->crc32;
    e.compressedSize = hit.descriptor->compressedSize;
    e.uncompressedSize = hit.descriptor->uncompressedSize;
    e.sizesFromDescriptor = true;
  }
  return e;
}

std::vector<CEntryHeader> QuickRepair(CScanWindow& window, CProgressMarks& marks, CScanContext& context) {
  LocalPass local = RunLocalPass(window, marks, context);
  context.EntriesFound = 0;
  std::vector<CentralHit> central = RunCentralPass(window, marks, context, local, true);
  ReplayLocalProgress(marks, local, window.Length());

  std::vector<CEntryHeader> entries;
  entries.reserve(local.hits.size());
  std::size_t nextCentral = 0;
  for (const LocalHit& hit : local.hits) {
    CEntryHeader e = MakeEntry(hit);
    // Records pair with local headers by order; a header whose name is too
    // long to read takes no part and leaves the record for the next one.
    if (hit.fixed.nameLength <= kMaxNameLength && nextCentral < central.size()) {
      const CentralHit& c = central[nextCentral++];
      if (c.localHeaderOffset == e.localHeaderOffset && c.compressedSize == e.compressedSize &&
          c.nameLength == e.nameLength && c.rawName != hit.rawName) {
        e.name = DecodeEntryName(c.rawName);
      }
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

// Finds the descriptor of an entry that the local pass never walked through.
void ResolveDescriptorAlone(CScanWindow& window, LocalHit& hit, std::uint64_t bound) {
  std::uint64_t p = hit.dataStart;
  while (p < bound) {
    std::uint64_t c = window.FindSignature(p, bound, kFindDescriptor, nullptr);
    if (c >= bound) return;
    if (TryDescriptorAt(window, c, hit)) return;
    p = c + 1;
  }
}

std::vector<CEntryHeader> AdvanceRepair(CScanWindow& window, CProgressMarks& marks, CScanContext& context) {
  LocalPass local = RunLocalPass(window, marks, context);
  std::vector<CentralHit> central = RunCentralPass(window, marks, context, local, false);

  std::vector<LocalHit> hits = std::move(local.hits);
  const std::size_t scanned = hits.size();
  std::unordered_set<std::uint64_t> known;
  known.reserve(hits.size() + central.size());
  for (const LocalHit& hit : hits) known.insert(hit.offset);
  for (const CentralHit& c : central) {
    if (!known.insert(c.localHeaderOffset).second) continue;
    context.Checkpoint();
    // The central directory may point at a header whose signature is gone;
    // read it all the same. An offset past the end names nothing.
    if (auto hit = ReadLocalHeader(window, c.localHeaderOffset)) hits.push_back(std::move(*hit));
  }

  if (hits.size() > scanned) {
    std::vector<std::uint64_t> offsets;
    offsets.reserve(hits.size());
    for (const LocalHit& hit : hits) offsets.push_back(hit.offset);
    std::sort(offsets.begin(), offsets.end());
    for (std::size_t i = scanned; i < hits.size(); ++i) {
      LocalHit& hit = hits[i];
      if (!hit.WantsDescriptor()) continue;
      auto next = std::upper_bound(offsets.begin(), offsets.end(), hit.offset);
      std::uint64_t bound = next == offsets.end() ? window.Length() : *next;
      ResolveDescriptorAlone(window, hit, bound);
      if (hit.descriptor) context.DescriptorSeen = true;
    }
  }

  std::vector<CEntryHeader> entries;
  entries.reserve(hits.size());
  for (const LocalHit& hit : hits) entries.push_back(MakeEntry(hit));
  return entries;
}

}  // namespace

std::vector<CEntryHeader> RunRepairScan(const CBigFile& file, CScanContext& context) {
  CScanWindow window(file);
  CProgressMarks marks(context, file.Length());
  std::vector<CEntryHeader> entries = context.RepairMode == kAdvanceRepair
                                          ? AdvanceRepair(window, marks, context)
                                          : QuickRepair(window, marks, context);
  context.EntriesFound = entries.size();
  return entries;
}

}  // namespace vz
