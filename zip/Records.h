#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace vz {

// Offsets and sizes read from a damaged record can be anything up to
// 2^64 - 1: their sums saturate instead of wrapping back.
constexpr std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) noexcept {
  return a > ~std::uint64_t{0} - b ? ~std::uint64_t{0} : a + b;
}

// Record signatures are "PK" followed by a pair of bytes that names the record.
enum class RecordKind : std::uint8_t { None = 0, LocalHeader, CentralHeader, EndRecord, DataDescriptor };

constexpr std::uint8_t kSigP = 0x50;
constexpr std::uint8_t kSigK = 0x4B;
constexpr std::size_t kLocalFixedSize = 30;
constexpr std::size_t kCentralFixedSize = 46;
constexpr std::size_t kDescriptorSize = 16;        // with its signature
constexpr std::size_t kZip64DescriptorSize = 24;   // with its signature, 8-byte sizes
constexpr std::uint16_t kMaxNameLength = 500;      // longer names are not read
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFFu;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kFlagUtf8 = 0x0800;

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// The kind of record whose signature starts at p (four bytes must be readable).
RecordKind SignatureKind(const std::uint8_t* p) noexcept;

struct LocalFixed {
  std::uint16_t versionNeeded = 0;
  std::uint16_t flag = 0;
  std::uint16_t method = 0;
  std::uint16_t modTime = 0;
  std::uint16_t modDate = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
};
LocalFixed ParseLocalFixed(std::span<const std::uint8_t, kLocalFixedSize> bytes) noexcept;

struct CentralFixed {
  std::uint16_t versionMadeBy = 0;
  std::uint16_t flag = 0;
  std::uint16_t method = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
  std::uint16_t commentLength = 0;
  std::uint32_t localHeaderOffset = 0;
};
CentralFixed ParseCentralFixed(std::span<const std::uint8_t, kCentralFixedSize> bytes) noexcept;

// Damaged headers sometimes carry blanks (0x20) in the high byte of the method
// or the extra length; only the low byte is then meaningful.
std::uint16_t PatchLocalMethod(std::uint16_t method) noexcept;
std::uint16_t PatchLocalExtraLength(std::uint16_t extraLength) noexcept;

// Values of a ZIP64 extended-information field. Only the fields whose 32-bit
// counterpart holds the 0xFFFFFFFF marker are present, in this order.
struct Zip64Values {
  std::optional<std::uint64_t> uncompressedSize;
  std::optional<std::uint64_t> compressedSize;
  std::optional<std::uint64_t> localHeaderOffset;
};
// Finds the ZIP64 field in an extra block; absent or malformed gives nullopt.
// A local header's field is supposed to hold both sizes; when it holds only
// eight bytes they go to the first size that needs them.
std::optional<Zip64Values> ParseZip64Extra(std::span<const std::uint8_t> extra, bool needUncompressed,
                                           bool needCompressed, bool needOffset) noexcept;

struct DataDescriptor {
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
};
// Reads a descriptor that begins with its signature; zip64 selects 8-byte sizes.
std::optional<DataDescriptor> ParseSignedDescriptor(std::span<const std::uint8_t> bytes, bool zip64) noexcept;
// Reads a descriptor whose signature may be missing (the three values then start at once).
std::optional<DataDescriptor> ParseTrailingDescriptor(std::span<const std::uint8_t> bytes, bool zip64) noexcept;

}  // namespace vz
