#include "Records.h"

#include "ByteOrder.h"

namespace vz {

RecordKind SignatureKind(const std::uint8_t* p) noexcept {
  if (p[0] != kSigP || p[1] != kSigK) return RecordKind::None;
  if (p[2] == 3 && p[3] == 4) return RecordKind::LocalHeader;
  if (p[2] == 1 && p[3] == 2) return RecordKind::CentralHeader;
  if (p[2] == 5 && p[3] == 6) return RecordKind::EndRecord;
  if (p[2] == 7 && p[3] == 8) return RecordKind::DataDescriptor;
  return RecordKind::None;
}

LocalFixed ParseLocalFixed(std::span<const std::uint8_t, kLocalFixedSize> bytes) noexcept {
  const std::uint8_t* p = bytes.data();
  LocalFixed h;
  h.versionNeeded = Le16(p + 4);
  h.flag = Le16(p + 6);
  h.method = Le16(p + 8);
  h.modTime = Le16(p + 10);
  h.modDate = Le16(p + 12);
  h.crc32 = Le32(p + 14);
  h.compressedSize = Le32(p + 18);
  h.uncompressedSize = Le32(p + 22);
  h.nameLength = Le16(p + 26);
  h.extraLength = Le16(p + 28);
  return h;
}

CentralFixed ParseCentralFixed(std::span<const std::uint8_t, kCentralFixedSize> bytes) noexcept {
  const std::uint8_t* p = bytes.data();
  CentralFixed h;
  h.versionMadeBy = Le16(p + 4);
  h.flag = Le16(p + 8);
  h.method = Le16(p + 10);
  h.crc32 = Le32(p + 16);
  h.compressedSize = Le32(p + 20);
  h.uncompressedSize = Le32(p + 24);
  h.nameLength = Le16(p + 28);
  h.extraLength = Le16(p + 30);
  h.commentLength = Le16(p + 32);
  h.localHeaderOffset = Le32(p + 42);
  return h;
}

std::uint16_t PatchLocalMethod(std::uint16_t method) noexcept {
  return (method >> 8) == 0x20 ? static_cast<std::uint16_t>(method & 0xFF) : method;
}

std::uint16_t PatchLocalExtraLength(std::uint16_t extraLength) noexcept {
  if (extraLength == 0x2020) return 0;
  return (extraLength >> 8) == 0x20 ? static_cast<std::uint16_t>(extraLength & 0xFF) : extraLength;
}

std::optional<Zip64Values> ParseZip64Extra(std::span<const std::uint8_t> extra, bool needUncompressed,
                                           bool needCompressed, bool needOffset) noexcept {
  std::size_t pos = 0;
  while (pos + 4 <= extra.size()) {
    std::uint16_t id = Le16(extra.data() + pos);
    std::uint16_t size = Le16(extra.data() + pos + 2);
    pos += 4;
    if (pos + size > extra.size()) return std::nullopt;
    if (id == kZip64ExtraId) {
      const std::uint8_t* field = extra.data() + pos;
      std::size_t have = size / 8;
      std::size_t used = 0;
      Zip64Values values;
      auto take = [&](std::optional<std::uint64_t>& into) {
        if (used < have) into = Le64(field + 8 * used++);
      };
      // A local header's field holds both sizes even when only one overflowed.
      bool bothSizes = !needOffset && have >= 2;
      if (needUncompressed || bothSizes) take(values.uncompressedSize);
      if (needCompressed || bothSizes) take(values.compressedSize);
      if (needOffset) take(values.localHeaderOffset);
      return values;
    }
    pos += size;
  }
  return std::nullopt;
}

std::optional<DataDescriptor> ParseSignedDescriptor(std::span<const std::uint8_t> bytes, bool zip64) noexcept {
  std::size_t need = zip64 ? kZip64DescriptorSize : kDescriptorSize;
  if (bytes.size() < need || SignatureKind(bytes.data()) != RecordKind::DataDescriptor) return std::nullopt;
  DataDescriptor d;
  const std::uint8_t* p = bytes.data() + 4;
  d.crc32 = Le32(p);
  d.compressedSize = zip64 ? Le64(p + 4) : Le32(p + 4);
  d.uncompressedSize = zip64 ? Le64(p + 12) : Le32(p + 8);
  return d;
}

std::optional<DataDescriptor> ParseTrailingDescriptor(std::span<const std::uint8_t> bytes, bool zip64) noexcept {
  if (auto signed_ = ParseSignedDescriptor(bytes, zip64)) return signed_;
  std::size_t need = zip64 ? 20 : 12;
  if (bytes.size() < need) return std::nullopt;
  DataDescriptor d;
  const std::uint8_t* p = bytes.data();
  d.crc32 = Le32(p);
  d.compressedSize = zip64 ? Le64(p + 4) : Le32(p + 4);
  d.uncompressedSize = zip64 ? Le64(p + 12) : Le32(p + 8);
  return d;
}

}  // namespace vz
