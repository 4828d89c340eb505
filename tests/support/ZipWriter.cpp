#include "ZipWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace vz::test {

void PutLe16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void PutLe32(std::string& out, std::uint32_t v) {
  PutLe16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  PutLe16(out, static_cast<std::uint16_t>(v >> 16));
}
void PutLe64(std::string& out, std::uint64_t v) {
  PutLe32(out, static_cast<std::uint32_t>(v));
  PutLe32(out, static_cast<std::uint32_t>(v >> 32));
}

std::string RawDeflate(std::string_view data, int level) {
  z_stream s{};
  if (deflateInit2(&s, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string out(deflateBound(&s, data.size()) + 16, '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&s, Z_FINISH);
  deflateEnd(&s);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(s.total_out);
  return out;
}

std::uint32_t Crc32(std::string_view data) {
  return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                          static_cast<uInt>(data.size())));
}

ZipWriter& ZipWriter::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

ZipWriter& ZipWriter::Add(std::string name, std::string data, std::uint16_t method) {
  EntryRecipe recipe;
  recipe.name = std::move(name);
  recipe.data = std::move(data);
  recipe.method = method;
  return Add(std::move(recipe));
}

ZipWriter& ZipWriter::Add(EntryRecipe recipe) {
  WrittenEntry w;
  w.crc = Crc32(recipe.data);
  std::string payload = recipe.payload ? *recipe.payload : recipe.method == 8 ? RawDeflate(recipe.data) : recipe.data;
  w.compressedSize = payload.size();
  w.uncompressedSize = recipe.data.size();
  w.localOffset = bytes_.size();

  std::uint16_t flag = recipe.flag | (recipe.streamed ? 0x0008 : 0);
  std::string extra = recipe.extra;
  if (recipe.zip64) {
    std::string z;
    PutLe16(z, 0x0001);
    PutLe16(z, 16);
    PutLe64(z, recipe.streamed ? 0 : w.uncompressedSize);
    PutLe64(z, recipe.streamed ? 0 : w.compressedSize);
    extra = z + extra;
  }
  const std::string& localName = recipe.localName ? *recipe.localName : recipe.name;
  std::uint32_t sizeC = recipe.zip64 ? 0xFFFFFFFFu : recipe.streamed ? 0 : static_cast<std::uint32_t>(w.compressedSize);
  std::uint32_t sizeU = recipe.zip64 ? 0xFFFFFFFFu : recipe.streamed ? 0 : static_cast<std::uint32_t>(w.uncompressedSize);

  std::string& b = bytes_;
  b += "PK\x03\x04";
  PutLe16(b, recipe.zip64 ? 45 : 20);
  PutLe16(b, flag);
  PutLe16(b, recipe.localMethod.value_or(recipe.method));
  PutLe16(b, recipe.time);
  PutLe16(b, recipe.date);
  PutLe32(b, recipe.localCrc.value_or(recipe.streamed ? 0 : w.crc));
  PutLe32(b, recipe.localCompressedSize.value_or(sizeC));
  PutLe32(b, recipe.localUncompressedSize.value_or(sizeU));
  PutLe16(b, recipe.localNameLength.value_or(static_cast<std::uint16_t>(localName.size())));
  PutLe16(b, recipe.localExtraLength.value_or(static_cast<std::uint16_t>(extra.size())));
  b += localName;
  b += extra;
  w.dataOffset = b.size();
  b += payload;
  w.dataSize = payload.size();
  if (recipe.streamed && recipe.descriptor) {
    if (recipe.descriptorSignature) b += "PK\x07\x08";
    PutLe32(b, w.crc);
    if (recipe.zip64) {
      PutLe64(b, w.compressedSize);
      PutLe64(b, w.uncompressedSize);
    } else {
      PutLe32(b, static_cast<std::uint32_t>(w.compressedSize));
      PutLe32(b, static_cast<std::uint32_t>(w.uncompressedSize));
    }
  }
  w.recipe = std::move(recipe);
  entries_.push_back(std::move(w));
  return *this;
}

ZipWriter& ZipWriter::Finish(bool endRecord) {
  centralOffset_ = bytes_.size();
  std::uint16_t count = 0;
  for (const WrittenEntry& w : entries_) {
    if (!w.recipe.inCentral) continue;
    ++count;
    const EntryRecipe& s = w.recipe;
    const std::string& name = s.centralName ? *s.centralName : s.name;
    bool big = w.compressedSize >= 0xFFFFFFFFu || w.uncompressedSize >= 0xFFFFFFFFu || w.localOffset >= 0xFFFFFFFFu;
    std::string extra;
    if (big) {
      PutLe16(extra, 0x0001);
      PutLe16(extra, 24);
      PutLe64(extra, w.uncompressedSize);
      PutLe64(extra, w.compressedSize);
      PutLe64(extra, w.localOffset);
    }
    std::string& b = bytes_;
    b += "PK\x01\x02";
    PutLe16(b, 0x031E);
    PutLe16(b, big ? 45 : 20);
    PutLe16(b, static_cast<std::uint16_t>(s.flag | (s.streamed ? 0x0008 : 0)));
    PutLe16(b, s.method);
    PutLe16(b, s.time);
    PutLe16(b, s.date);
    PutLe32(b, w.crc);
    PutLe32(b, s.centralCompressedSize.value_or(big ? 0xFFFFFFFFu : static_cast<std::uint32_t>(w.compressedSize)));
    PutLe32(b, big ? 0xFFFFFFFFu : static_cast<std::uint32_t>(w.uncompressedSize));
    PutLe16(b, static_cast<std::uint16_t>(name.size()));
    PutLe16(b, static_cast<std::uint16_t>(extra.size()));
    PutLe16(b, 0);
    PutLe16(b, 0);
    PutLe16(b, 0);
    PutLe32(b, 0100644u << 16);
    PutLe32(b, s.centralOffset.value_or(big ? 0xFFFFFFFFu : static_cast<std::uint32_t>(w.localOffset)));
    b += name;
    b += extra;
  }
  if (endRecord) {
    std::uint64_t size = bytes_.size() - centralOffset_;
    bytes_ += "PK\x05\x06";
    PutLe16(bytes_, 0);
    PutLe16(bytes_, 0);
    PutLe16(bytes_, count);
    PutLe16(bytes_, count);
    PutLe32(bytes_, static_cast<std::uint32_t>(size));
    PutLe32(bytes_, static_cast<std::uint32_t>(std::min<std::uint64_t>(centralOffset_, 0xFFFFFFFFu)));
    PutLe16(bytes_, 0);
  }
  return *this;
}

void ZipWriter::Save(const std::filesystem::path& path) const { WriteFile(path, bytes_); }

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vz-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ListFiles(const std::filesystem::path& root) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file()) out.push_back(std::filesystem::relative(it->path(), root).generic_string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool HaveTool(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int CountOpenDescriptors() {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++n;
  }
  return n;
}

}  // namespace vz::test
