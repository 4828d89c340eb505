// Writes the seed corpus for vz_fuzz_open_extract into a folder:
//   vz_make_seeds <folder>
// Every archive is written four times, with the harness's leading byte set
// for Quick and Advance (name.q, name.a) straight through the engine, and
// for both through the passes (name.pq, name.pa). Archives stay well below the
// 64 KiB the fuzzer is run with so that mutations reach every record.

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/ZipWriter.h"

namespace fs = std::filesystem;
using vz::test::PutLe16;
using vz::test::PutLe32;
using vz::test::ZipWriter;
using namespace std::string_literals;

namespace {

std::string Text(std::size_t size, int salt) {
  std::string s;
  for (int line = 0; s.size() < size; ++line) {
    s += "line " + std::to_string(line * 7 + salt) + " of a small text file\n";
  }
  s.resize(size);
  return s;
}

class SeedFolder {
 public:
  explicit SeedFolder(fs::path dir) : dir_(std::move(dir)) { fs::create_directories(dir_); }

  void Put(const std::string& name, std::string_view archive) {
    vz::test::WriteFile(dir_ / (name + ".q"), std::string(1, '\0') + std::string(archive));
    vz::test::WriteFile(dir_ / (name + ".a"), std::string(1, '\1') + std::string(archive));
    vz::test::WriteFile(dir_ / (name + ".pq"), std::string(1, '\2') + std::string(archive));
    vz::test::WriteFile(dir_ / (name + ".pa"), std::string(1, '\3') + std::string(archive));
    count_ += 4;
  }
  void Put(const std::string& name, const ZipWriter& w) { Put(name, w.Bytes()); }
  int Count() const noexcept { return count_; }

 private:
  fs::path dir_;
  int count_ = 0;
};

// Three plain entries, stored and deflated, the base most damage is applied to.
ZipWriter ThreeEntries() {
  ZipWriter w;
  w.Add("alpha.txt", Text(3000, 1)).Add("dir/beta.bin", Text(500, 2), 0).Add("gamma.txt", Text(2000, 3));
  return w;
}

void SetLe32(std::string& b, std::size_t pos, std::uint32_t v) {
  std::string le;
  PutLe32(le, v);
  b.replace(pos, 4, le);
}

void IntactSeeds(SeedFolder& out) {
  out.Put("intact-three", ThreeEntries().Finish());

  ZipWriter mixed;
  mixed.Add("folder/", "", 0)
      .Add("folder/sub/", "", 0)
      .Add("folder/sub/file.txt", Text(700, 4))
      .Add("empty-stored.txt", "", 0)
      .Add("empty-deflated.txt", "", 8)
      .Add("zeros.bin", std::string(100000, '\0'))  // a tiny payload that inflates a lot
      .Finish();
  out.Put("intact-mixed", mixed);

  ZipWriter many;
  for (int i = 0; i < 60; ++i) many.Add("f" + std::to_string(i) + ".txt", Text(20 + i, i), i % 2 == 0 ? 8 : 0);
  out.Put("many-small", many.Finish());

  ZipWriter empty;
  out.Put("end-record-only", empty.Finish());
  out.Put("empty-file", std::string_view{});
}

void StreamedSeeds(SeedFolder& out) {
  ZipWriter sig;
  sig.Add({.name = "s1.txt", .data = Text(1500, 5), .streamed = true})
      .Add({.name = "s2.txt", .data = Text(300, 6), .streamed = true})
      .Finish();
  out.Put("streamed-signed", sig);

  ZipWriter unsig;
  unsig.Add({.name = "u1.txt", .data = Text(1500, 7), .streamed = true, .descriptorSignature = false})
      .Add({.name = "u2.txt", .data = Text(300, 8), .streamed = true, .descriptorSignature = false})
      .Finish();
  out.Put("streamed-unsigned", unsig);

  ZipWriter stored;
  stored.Add({.name = "st1.bin", .data = Text(800, 9), .method = 0, .streamed = true})
      .Add({.name = "st2.bin", .data = Text(200, 10), .method = 0, .streamed = true, .descriptorSignature = false})
      .Finish();
  out.Put("streamed-stored", stored);

  ZipWriter none;
  none.Add({.name = "n1.txt", .data = Text(900, 11), .streamed = true, .descriptor = false})
      .Add({.name = "n2.bin", .data = Text(400, 12), .method = 0, .streamed = true, .descriptor = false})
      .Add("after.txt", Text(100, 13))
      .Finish();
  out.Put("streamed-no-descriptor", none);

  // Streamed with no central directory: only the descriptors tell the sizes.
  ZipWriter bare;
  bare.Add({.name = "b1.txt", .data = Text(1200, 14), .streamed = true})
      .Add({.name = "b2.txt", .data = Text(100, 15), .streamed = true, .descriptorSignature = false});
  out.Put("streamed-no-central", bare);
}

void Zip64Seeds(SeedFolder& out) {
  ZipWriter w;
  w.Add({.name = "z1.txt", .data = Text(1000, 16), .zip64 = true})
      .Add({.name = "z2.bin", .data = Text(300, 17), .method = 0, .zip64 = true})
      .Add({.name = "z3.txt", .data = Text(600, 18), .streamed = true, .zip64 = true})
      .Add({.name = "z4.txt", .data = Text(200, 19), .streamed = true, .descriptorSignature = false, .zip64 = true})
      .Finish();
  out.Put("zip64", w);

  // A ZIP64 field holding a single size, and one holding none.
  std::string oneSize;
  PutLe16(oneSize, 0x0001);
  PutLe16(oneSize, 8);
  vz::test::PutLe64(oneSize, 250);
  std::string emptyField;
  PutLe16(emptyField, 0x0001);
  PutLe16(emptyField, 0);
  ZipWriter odd;
  odd.Add({.name = "one.bin",
           .data = Text(250, 20),
           .method = 0,
           .extra = oneSize,
           .localUncompressedSize = 0xFFFFFFFFu})
      .Add({.name = "none.txt", .data = Text(100, 21), .extra = emptyField, .localCompressedSize = 0xFFFFFFFFu})
      .Finish();
  out.Put("zip64-odd-fields", odd);
}

void CentralDamageSeeds(SeedFolder& out) {
  ZipWriter w = ThreeEntries();
  w.Finish();
  const std::size_t central = w.CentralOffset();
  const std::string& b = w.Bytes();

  out.Put("central-missing", b.substr(0, central));
  out.Put("central-cut", b.substr(0, central + 30));

  std::string zeroed = b;
  std::fill(zeroed.begin() + static_cast<long>(central), zeroed.end(), '\0');
  out.Put("central-zeroed", zeroed);

  // Offsets past the end, into the middle of data, and to the first header.
  std::string offsets = b;
  std::size_t pos = central;
  const std::uint32_t garbage[] = {0x7FFFFFF0u, 17, 0};
  for (std::uint32_t g : garbage) {
    SetLe32(offsets, pos + 42, g);
    pos += 46 + static_cast<unsigned char>(offsets[pos + 28]) + 256 * static_cast<unsigned char>(offsets[pos + 29]);
  }
  out.Put("central-offsets-garbled", offsets);

  std::string signatures = b;
  signatures[central + 2] = 'X';
  out.Put("central-signature-broken", signatures);

  // The local signature of the second entry destroyed: only the central
  // directory still leads to it.
  std::string local = b;
  local[w.Entries()[1].localOffset] = 'X';
  out.Put("local-signature-broken", local);

  // Central names that differ from the local ones (Quick takes them when the
  // records pair up).
  ZipWriter names;
  names.Add({.name = "real-name.txt", .data = Text(400, 22), .localName = std::string("LOCALNAM.TXT")})
      .Add({.name = "second.txt", .data = Text(100, 23), .centralName = std::string("renamed.txt")})
      .Add({.name = "hidden.txt", .data = Text(50, 24), .inCentral = false})
      .Finish();
  out.Put("central-names-differ", names);

  ZipWriter pointing;
  pointing.Add({.name = "p1.txt", .data = Text(300, 25)})
      .Add({.name = "p2.txt", .data = Text(300, 26), .centralCompressedSize = 5})
      .Add({.name = "p3.txt", .data = Text(300, 27), .centralOffset = 0})
      .Finish();
  out.Put("central-fields-lie", pointing);
}

void TruncationSeeds(SeedFolder& out) {
  ZipWriter w = ThreeEntries();
  w.Finish();
  const std::string& b = w.Bytes();
  const auto& e = w.Entries();
  out.Put("cut-in-first-header", b.substr(0, 20));
  out.Put("cut-in-first-data", b.substr(0, e[0].dataOffset + e[0].dataSize / 2));
  out.Put("cut-in-second-header", b.substr(0, e[1].localOffset + 12));
  out.Put("cut-in-stored-data", b.substr(0, e[1].dataOffset + 100));
  out.Put("cut-before-end-record", b.substr(0, b.size() - 10));

  ZipWriter streamed;
  streamed.Add({.name = "cut.txt", .data = Text(3000, 28), .streamed = true}).Finish();
  out.Put("cut-in-streamed-data", streamed.Bytes().substr(0, streamed.Entries()[0].dataOffset + 200));
  out.Put("cut-in-descriptor",
          streamed.Bytes().substr(0, streamed.Entries()[0].dataOffset + streamed.Entries()[0].dataSize + 6));
}

void JunkSeeds(SeedFolder& out) {
  ZipWriter prefix;
  prefix.Raw("MZ\x90 a self-extracting stub " + std::string(300, '\x01'));
  prefix.Add("alpha.txt", Text(1000, 29)).Add("beta.bin", Text(200, 30), 0).Finish();
  out.Put("junk-prefix", prefix);

  ZipWriter between;
  between.Add("one.txt", Text(500, 31)).Raw("garbage PK\x05\x06 PK\x01\x02 here");
  between.Add("two.txt", Text(500, 32)).Raw(std::string(64, '\xFF')).Add("three.bin", Text(64, 33), 0).Finish();
  out.Put("junk-between", between);

  // Signatures inside stored data, which a scan must not take for records.
  std::string fake = "before PK\x03\x04 and PK\x07\x08 and PK\x01\x02 inside";
  ZipWriter inside;
  inside.Add("fake-sigs.bin", fake, 0).Add({.name = "s.bin", .data = fake, .method = 0, .streamed = true}).Finish();
  out.Put("signatures-in-data", inside);
}

void NameSeeds(SeedFolder& out) {
  ZipWriter w;
  const char* names[] = {
      "../../escape.txt", "a/../../b.txt",       "/etc/absolute.txt",    "//server/share/x.txt",
      "C:\\Windows\\drive.txt", "d:relative.txt", "dir\\sub\\back.txt",  "mixed/sep\\name.txt",
      ".",                 "..",                  "./dot/./x.txt",        "trailing-dot/..",
      "..\\..\\win-escape.txt", "folder-only/",    "back-folder\\",        "a//b///c.txt",
  };
  int salt = 40;
  for (const char* n : names) {
    w.Add(n, Text(40, salt), salt % 2 == 0 ? 0 : 8);
    ++salt;
  }
  w.Add("nul\0in\0name.txt"s, Text(30, 60));
  w.Add("", Text(30, 61));
  w.Add("\x80\x81\x82 cp437.txt", Text(30, 62));
  w.Add({.name = "na\xC3\xAFve-utf8.txt", .data = Text(30, 63), .flag = 0x0800});
  w.Finish();
  out.Put("names-hostile", w);

  ZipWriter clash;
  clash.Add("a", "file first", 0)
      .Add("a/b.txt", "then below it", 0)
      .Add("d/", "", 0)
      .Add("d", "file over a folder", 0)
      .Add("same.txt", "first", 0)
      .Add("same.txt", "second", 0)
      .Finish();
  out.Put("names-clash", clash);

  ZipWriter longNames;
  longNames.Add(std::string(500, 'n'), Text(100, 64))
      .Add(std::string(501, 'm'), Text(100, 65))
      .Add("deep/" + std::string(300, 'x') + "/" + std::string(190, 'y'), Text(50, 66), 0)
      .Add("after-long.txt", Text(100, 67))
      .Finish();
  out.Put("names-long", longNames);

  // A name length that says more than the header holds.
  ZipWriter lying;
  lying.Add({.name = "short.txt", .data = Text(100, 68), .localNameLength = 600})
      .Add("next.txt", Text(100, 69))
      .Finish();
  out.Put("name-length-lies", lying);
}

void FieldSeeds(SeedFolder& out) {
  ZipWriter sizes;
  sizes.Add({.name = "big-claim.txt", .data = Text(500, 70), .localCompressedSize = 40000})
      .Add({.name = "small-claim.txt", .data = Text(500, 71), .localCompressedSize = 10})
      .Add({.name = "short-output.bin", .data = Text(500, 72), .method = 0, .localUncompressedSize = 100})
      .Add({.name = "zero-sizes.txt", .data = Text(200, 73), .localCompressedSize = 0, .localUncompressedSize = 0})
      .Add("last.txt", Text(100, 74))
      .Finish();
  out.Put("sizes-lie", sizes);

  ZipWriter methods;
  methods.Add({.name = "patched-method.txt", .data = Text(300, 75), .localMethod = 0x2008})
      .Add({.name = "bzip2.bin", .data = Text(100, 76), .method = 12})
      .Add({.name = "encrypted.bin", .data = Text(100, 77), .method = 0, .flag = 0x0001})
      .Add({.name = "extra-blanks.txt", .data = Text(100, 78), .extra = "  ", .localExtraLength = 0x2002})
      .Add({.name = "extra-all-blank.txt", .data = Text(100, 79), .localExtraLength = 0x2020})
      .Add({.name = "crc-wrong.txt", .data = Text(100, 80), .localCrc = 0x12345678})
      .Finish();
  out.Put("fields-odd", methods);

  ZipWriter corrupt;
  std::string broken = vz::test::RawDeflate(Text(2000, 81));
  for (std::size_t i = broken.size() / 3; i < broken.size() / 2; ++i) broken[i] = static_cast<char>(broken[i] ^ 0x5A);
  corrupt.Add({.name = "corrupt.txt", .data = Text(2000, 81), .payload = broken})
      .Add({.name = "corrupt-streamed.txt", .data = Text(2000, 81), .streamed = true, .payload = broken})
      .Add({.name = "not-deflate.txt", .data = Text(100, 82), .payload = std::string(60, '\xFF')})
      .Add("fine.txt", Text(100, 83))
      .Finish();
  out.Put("deflate-corrupt", corrupt);

  ZipWriter times;
  times.Add({.name = "month13.txt", .data = "x", .date = vz::test::DosDate(2020, 13, 1)})
      .Add({.name = "day0.txt", .data = "x", .date = vz::test::DosDate(2020, 1, 0)})
      .Add({.name = "hour31.txt", .data = "x", .time = 0xFFFF, .date = 0xFFFF})
      .Add({.name = "zero-date.txt", .data = "x", .time = 0, .date = 0})
      .Finish();
  out.Put("dos-times", times);

  ZipWriter extras;
  extras.Add({.name = "ut.txt", .data = Text(100, 84), .extra = "UT\x05\x00\x03\x10\x20\x30\x40"s})
      .Add({.name = "cut-extra.txt", .data = Text(100, 85), .extra = "\x01\x00\x40\x00\x01\x02"s})
      .Finish();
  out.Put("extra-fields", extras);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  try {
    SeedFolder out{fs::path(argv[1])};
    IntactSeeds(out);
    StreamedSeeds(out);
    Zip64Seeds(out);
    CentralDamageSeeds(out);
    TruncationSeeds(out);
    JunkSeeds(out);
    NameSeeds(out);
    FieldSeeds(out);
    std::printf("%d seeds written to %s\n", out.Count(), argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
