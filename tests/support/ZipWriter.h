#pragma once

// Builds ZIP archives byte by byte for the tests: intact ones, and ones with
// any field of any record set wrong on purpose.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vz::test {

std::string RawDeflate(std::string_view data, int level = 6);
std::uint32_t Crc32(std::string_view data);
constexpr std::uint16_t DosTime(int hour, int minute, int second) {
  return static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}
constexpr std::uint16_t DosDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

struct EntryRecipe {
  std::string name;
  std::string data;                 // the uncompressed content
  std::uint16_t method = 8;         // 0 stored, 8 deflated; others store data as is
  std::uint16_t flag = 0;           // extra flag bits (bit 3 is set by streamed)
  std::uint16_t time = DosTime(12, 30, 10);
  std::uint16_t date = DosDate(2024, 5, 17);
  bool streamed = false;            // bit 3, zero CRC and sizes locally, descriptor after the data
  bool descriptor = true;           // with streamed: write the descriptor at all
  bool descriptorSignature = true;  // with streamed: the descriptor carries its signature
  bool zip64 = false;               // 0xFFFFFFFF sizes locally with a ZIP64 extra field
  std::string extra;                // extra field bytes of the local header
  bool inCentral = true;            // listed in the central directory

  // Field overrides of the local header as written.
  std::optional<std::string> localName;
  std::optional<std::uint16_t> localMethod;
  std::optional<std::uint32_t> localCrc;
  std::optional<std::uint32_t> localCompressedSize;
  std::optional<std::uint32_t> localUncompressedSize;
  std::optional<std::uint16_t> localNameLength;
  std::optional<std::uint16_t> localExtraLength;
  // Field overrides of the central header.
  std::optional<std::string> centralName;
  std::optional<std::uint32_t> centralCompressedSize;
  std::optional<std::uint32_t> centralOffset;
  // The compressed bytes to write instead of the real ones.
  std::optional<std::string> payload;
};

struct WrittenEntry {
  std::uint64_t localOffset = 0;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataSize = 0;       // compressed bytes written
  std::uint32_t crc = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  EntryRecipe recipe;
};

class ZipWriter {
 public:
  // Bytes that belong to no record: a stub in front, junk between entries.
  ZipWriter& Raw(std::string_view bytes);
  ZipWriter& Add(EntryRecipe recipe);
  ZipWriter& Add(std::string name, std::string data, std::uint16_t method = 8);
  // Appends the central directory and, if asked, the end record.
  ZipWriter& Finish(bool endRecord = true);

  const std::string& Bytes() const noexcept { return bytes_; }
  std::string& MutableBytes() noexcept { return bytes_; }
  const std::vector<WrittenEntry>& Entries() const noexcept { return entries_; }
  std::uint64_t CentralOffset() const noexcept { return centralOffset_; }
  void Save(const std::filesystem::path& path) const;

 private:
  std::string bytes_;
  std::vector<WrittenEntry> entries_;
  std::uint64_t centralOffset_ = 0;
};

void PutLe16(std::string& out, std::uint16_t v);
void PutLe32(std::string& out, std::uint32_t v);
void PutLe64(std::string& out, std::uint64_t v);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const noexcept { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Every regular file below root, as paths relative to it, sorted.
std::vector<std::string> ListFiles(const std::filesystem::path& root);

// Whether a program of this name can be run (peers that make or read
// archives are optional: tests that need one skip without it).
bool HaveTool(const char* tool);

// How many file descriptors this process holds open.
int CountOpenDescriptors();

}  // namespace vz::test
