// Writes the sample damaged archive that ships with the program, so that a
// newcomer can watch a repair work. It has a self-extractor stub in front,
// a name damaged in its local header (the central directory still knows it),
// an entry whose compressed data breaks off half-way, and no end record.
#include <cstring>
#include <iostream>
#include <string>

#include "tests/support/ZipWriter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vz_make_sample OUTPUT.zip\n";
    return 64;
  }
  using vz::test::EntryRecipe;
  using vz::test::ZipWriter;
  std::string report, table, log;
  for (int i = 1; i <= 400; ++i) {
    report += "Paragraph " + std::to_string(i) + ": the quarterly figures were checked and filed.\n";
    table += std::to_string(i) + "," + std::to_string(i * 37 % 1000) + "," + std::to_string(i * i % 977) + "\n";
  }
  for (int i = 0; i < 5000; ++i) log += "2026-12-07 20:05:" + std::to_string(i % 60) + " event " + std::to_string(i) + "\n";

  ZipWriter w;
  w.Raw(std::string("MZ\x90\x00", 4) + std::string(1020, '\0'));
  w.Add("Sample/readme.txt", "This archive was damaged on purpose to show a repair.\n");
  EntryRecipe renamed;
  renamed.name = "Sample/report.txt";
  renamed.localName = "Sample/r\x01port.txt";
  renamed.data = report;
  w.Add(renamed);
  w.Add("Sample/figures.csv", table);
  w.Add("Sample/empty-folder/", "", 0);
  EntryRecipe broken;
  broken.name = "Sample/events.log";
  broken.data = log;
  broken.payload = vz::test::RawDeflate(log, 0);  // stored deflate blocks of 64 KiB
  w.Add(broken);
  w.Finish();

  std::string bytes = w.Bytes();
  // Break the second deflate block's length check: the first 64 KiB survive.
  bytes[w.Entries().back().dataOffset + 5 + 65535 + 3] ^= 0x5A;
  // Wipe the end record.
  std::size_t end = bytes.rfind("PK\x05\x06");
  std::memset(&bytes[end], 0, bytes.size() - end);
  vz::test::WriteFile(argv[1], bytes);
  return 0;
}
