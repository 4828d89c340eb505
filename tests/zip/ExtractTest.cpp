#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <random>

#include "EngineTestUtil.h"
#include "zip/DosTime.h"

namespace vz {
namespace {

using test::EntryRecipe;
using test::ZipWriter;
using test::Noise;
using test::StopAfter;
using test::Text;


std::int64_t ModifiedTime(const std::filesystem::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st.st_mtime;
}


class ExtractTest : public ::testing::Test {
 protected:
  std::vector<EntrySaveReport> Save(const std::string& bytes, int mode = kQuickRepair) {
    test::WriteFile(dir_ / "a.zip", bytes);
    return test::SaveAll(dir_ / "a.zip", out(), mode);
  }
  std::vector<EntrySaveReport> Save(const ZipWriter& w, int mode = kQuickRepair) { return Save(w.Bytes(), mode); }
  std::filesystem::path out() const { return dir_ / "out"; }
  std::string Out(const std::string& rel) const { return test::ReadFile(out() / rel); }

  test::TempDir dir_;
};

TEST_F(ExtractTest, IntactEntriesAreWrittenWithTheirTimeAndVerified) {
  ZipWriter w;
  EntryRecipe a;
  a.name = "docs/a.txt";
  a.data = Text(1, 100000);
  a.date = test::DosDate(2021, 3, 4);
  a.time = test::DosTime(5, 6, 8);
  w.Add(a).Add("b.bin", Noise(2, 70000), 0).Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 2u);
  for (const auto& r : reports) EXPECT_EQ(r.verdict, EntryVerdict::Verified) << r.name;
  EXPECT_EQ(Out("docs/a.txt"), a.data);
  EXPECT_EQ(Out("b.bin"), Noise(2, 70000));
  EXPECT_EQ(ModifiedTime(out() / "docs/a.txt"), DosToLocalTime(a.date, a.time));
  struct stat st {};
  ::stat((out() / "docs/a.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0022, 0u);
  EXPECT_NE(st.st_mode & 0400, 0u);
}

TEST_F(ExtractTest, DataCutByTheArchiveEndIsKeptWithTheEntryTime) {
  for (std::uint16_t method : {std::uint16_t{0}, std::uint16_t{8}}) {
    ZipWriter w;
    EntryRecipe s;
    s.name = "cut.txt";
    s.data = Text(3, 200000);
    s.method = method;
    w.Add(s);
    std::string bytes = w.Bytes().substr(0, w.Entries()[0].dataOffset + w.Entries()[0].dataSize / 2);
    auto reports = Save(bytes);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].verdict, EntryVerdict::Partial);
    EXPECT_TRUE(reports[0].dataEndedEarly);
    std::string got = Out("cut.txt");
    EXPECT_GT(got.size(), method == 0 ? 99999u : 50000u);
    EXPECT_TRUE(got == s.data.substr(0, got.size())) << "method " << method;
    EXPECT_EQ(ModifiedTime(out() / "cut.txt"), DosToLocalTime(s.date, s.time));
    std::filesystem::remove_all(out());
  }
}

TEST_F(ExtractTest, CorruptDeflateKeepsWhatCameBeforeAndNotTheTime) {
  ZipWriter w;
  EntryRecipe s;
  s.name = "broken.txt";
  s.data = Text(5, 200000);
  // Level 0 writes stored deflate blocks of 65535 bytes; breaking the length
  // check of the second block makes the decoder stop exactly there.
  s.payload = test::RawDeflate(s.data, 0);
  w.Add(s).Add("next.txt", "the next entry still comes").Finish();
  std::string bytes = w.Bytes();
  bytes[w.Entries()[0].dataOffset + 5 + 65535 + 3] ^= 0x5A;
  std::time_t before = std::time(nullptr);
  auto reports = Save(bytes);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Partial);
  EXPECT_TRUE(reports[0].dataCorrupt);
  EXPECT_FALSE(reports[0].timesSet);
  std::string got = Out("broken.txt");
  EXPECT_EQ(got.size(), 65535u);
  EXPECT_TRUE(got == s.data.substr(0, 65535));
  EXPECT_GE(ModifiedTime(out() / "broken.txt"), before);
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Verified);
}

TEST_F(ExtractTest, StreamedEntriesAreExtractedWholeAndVerified) {
  for (bool signature : {true, false}) {
    for (std::uint16_t method : {std::uint16_t{8}, std::uint16_t{0}}) {
      ZipWriter w;
      for (int i = 0; i < 3; ++i) {
        EntryRecipe s;
        s.name = "s" + std::to_string(i);
        s.data = Text(10 + i, 30000 + 1000 * static_cast<std::size_t>(i));
        s.streamed = true;
        s.method = method;
        s.descriptorSignature = signature;
        w.Add(s);
      }
      w.Finish();
      auto reports = Save(w);
      ASSERT_EQ(reports.size(), 3u);
      for (int i = 0; i < 3; ++i) {
        std::string got = Out("s" + std::to_string(i));
        const std::string& want = w.Entries()[i].recipe.data;
        if (signature || method == 8) {
          EXPECT_TRUE(got == want) << "signature " << signature << " method " << method << " entry " << i;
          EXPECT_EQ(reports[i].verdict, EntryVerdict::Verified) << i;
        } else {
          // A stored entry with neither sizes nor a marked descriptor keeps
          // whatever bytes lie before the next header, descriptor included.
          EXPECT_TRUE(got.substr(0, want.size()) == want) << i;
          EXPECT_EQ(got.size(), want.size() + 12) << i;
        }
      }
      std::filesystem::remove_all(out());
    }
  }
}

TEST_F(ExtractTest, StoredEntryOfUnknownSizeEndsAtTheNextHeader) {
  ZipWriter w;
  EntryRecipe s;
  s.name = "raw.bin";
  s.method = 0;
  s.streamed = true;
  s.descriptor = false;
  s.data = Text(20, 5000);
  w.Add(s).Add("after.txt", "after").Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(Out("raw.bin"), s.data);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Unverified);
  EXPECT_EQ(Out("after.txt"), "after");
}

TEST_F(ExtractTest, EmptyFilesFoldersAndNamesWithPAndKAreRecovered) {
  ZipWriter w;
  w.Add("empty.txt", "", 0).Add("folder/", "", 0).Add("BACKUP.PST", "pst", 0).Add("PACK.DAT", "pack");
  w.Add("docs/PK_notes.txt", "notes").Add("docs/pk.txt", "pk").Add("docs/Pay.txt", "pay").Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 7u);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Verified);
  EXPECT_TRUE(std::filesystem::is_regular_file(out() / "empty.txt"));
  EXPECT_EQ(std::filesystem::file_size(out() / "empty.txt"), 0u);
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Folder);
  EXPECT_TRUE(std::filesystem::is_directory(out() / "folder"));
  EXPECT_EQ(test::ListFiles(out()), (std::vector<std::string>{"BACKUP.PST", "PACK.DAT", "docs/PK_notes.txt",
                                                               "docs/Pay.txt", "docs/pk.txt", "empty.txt"}));
}

TEST_F(ExtractTest, MethodsOtherThanStoredAndDeflatedFailWithoutAFile) {
  ZipWriter w;
  EntryRecipe bz;
  bz.name = "bzip2.bin";
  bz.method = 12;
  bz.data = "BZh9 pretend";
  EntryRecipe patched;
  patched.name = "patched.txt";
  patched.data = Text(6, 5000);
  patched.localMethod = 0x2008;  // damaged high byte: still deflate
  w.Add(bz).Add(patched).Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Failed);
  ASSERT_TRUE(reports[0].error);
  EXPECT_EQ(reports[0].error->Cause(), kCauseBadArchive);
  EXPECT_FALSE(std::filesystem::exists(out() / "bzip2.bin"));
  EXPECT_EQ(Out("patched.txt"), patched.data);
}

TEST_F(ExtractTest, EncryptedEntriesAreReportedAsSuch) {
  ZipWriter w;
  EntryRecipe s;
  s.name = "secret.bin";
  s.method = 0;
  s.flag = 0x0001;
  s.data = Noise(7, 100);
  w.Add(s).Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].encrypted);
  EXPECT_EQ(Out("secret.bin"), s.data);
}

TEST_F(ExtractTest, DeclaredSizeCapsTheOutput) {
  ZipWriter w;
  EntryRecipe bomb;
  bomb.name = "bomb.txt";
  bomb.data = std::string(10'000'000, 'a');
  bomb.localUncompressedSize = 1000;
  w.Add(bomb).Finish();
  auto reports = Save(w);
  EXPECT_EQ(std::filesystem::file_size(out() / "bomb.txt"), 1000u);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::CrcMismatch);
}

TEST_F(ExtractTest, Zip64EntriesExtract) {
  ZipWriter w;
  EntryRecipe s;
  s.name = "z64.txt";
  s.data = Text(8, 50000);
  s.zip64 = true;
  EntryRecipe streamed = s;
  streamed.name = "z64s.txt";
  streamed.streamed = true;
  w.Add(s).Add(streamed).Finish();
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Verified);
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Verified);
  EXPECT_EQ(Out("z64s.txt"), s.data);
}

TEST_F(ExtractTest, HostileNamesStayInsideTheDestination) {
  ZipWriter w;
  for (const char* name : {"../escape1.txt", "..\\..\\escape2.txt", "/abs/escape3.txt", "C:\\drive\\escape4.txt",
                           "a/../../escape5.txt", "./dot/./escape6.txt", "..", "../"}) {
    w.Add(name, std::string("content of ") + name, 0);
  }
  w.Finish();
  std::filesystem::create_directories(dir_ / "sandbox");
  test::WriteFile(dir_ / "sandbox/a.zip", w.Bytes());
  auto reports = test::SaveAll(dir_ / "sandbox/a.zip", dir_ / "sandbox/out");
  ASSERT_EQ(reports.size(), 8u);
  EXPECT_EQ(reports[6].verdict, EntryVerdict::Skipped);
  EXPECT_EQ(reports[7].verdict, EntryVerdict::Skipped);
  EXPECT_EQ(test::ListFiles(dir_ / "sandbox"),
            (std::vector<std::string>{"a.zip", "out/a/escape5.txt", "out/abs/escape3.txt", "out/dot/escape6.txt",
                                      "out/drive/escape4.txt", "out/escape1.txt", "out/escape2.txt"}));
  EXPECT_EQ(test::ListFiles(dir_.Path()).size(), 7u);
}

TEST_F(ExtractTest, LongNamesAndPathsPastPathMax) {
  // A destination just short of PATH_MAX: every name joined to it is longer.
  std::filesystem::path deep = out();
  while (deep.string().size() < 3900) deep /= std::string(200, 'd');
  std::filesystem::create_directories(deep);
  ZipWriter w;
  std::string name500 = std::string(250, 'a') + "/" + std::string(249, 'b');
  std::string component300 = std::string(300, 'c');  // past NAME_MAX
  w.Add(name500, "five hundred", 0).Add(component300, "too long", 0);
  w.Add(std::string(501, 'x'), "unnamed", 0).Add("after.txt", "after", 0).Finish();
  test::WriteFile(dir_ / "a.zip", w.Bytes());
  auto reports = test::SaveAll(dir_ / "a.zip", deep);
  ASSERT_EQ(reports.size(), 4u);
  // Folders are made and opened one by one, never through the joined path.
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Verified) << (reports[0].error ? reports[0].error->what() : "");
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Failed);
  ASSERT_TRUE(reports[1].error);
  EXPECT_EQ(reports[1].error->SystemError(), ENAMETOOLONG);
  EXPECT_EQ(reports[2].verdict, EntryVerdict::Skipped);  // over 500 bytes: no name is read
  EXPECT_EQ(reports[3].verdict, EntryVerdict::Verified);
  std::filesystem::remove_all(out());
}

TEST_F(ExtractTest, LinksPlantedInTheDestinationAreNeverFollowed) {
  ZipWriter w;
  w.Add("victim.txt", "new content", 0).Add("linkdir/inside.txt", "x", 0).Add("keep.txt", "kept", 0).Finish();
  std::filesystem::create_directories(dir_ / "outside");
  std::filesystem::create_directories(out());
  test::WriteFile(dir_ / "outside/victim.txt", "original");
  std::filesystem::create_symlink(dir_ / "outside/victim.txt", out() / "victim.txt");
  std::filesystem::create_directory_symlink(dir_ / "outside", out() / "linkdir");
  auto reports = Save(w);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(test::ReadFile(dir_ / "outside/victim.txt"), "original");
  EXPECT_FALSE(std::filesystem::is_symlink(out() / "victim.txt"));
  EXPECT_EQ(Out("victim.txt"), "new content");
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Failed);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "outside/inside.txt"));
  EXPECT_EQ(Out("keep.txt"), "kept");
}

TEST_F(ExtractTest, AnExistingFileIsReplacedAndAFolderIsNot) {
  ZipWriter w;
  w.Add("same", "file entry", 0).Add("same/", "", 0).Add("other.txt", "new", 0).Finish();
  std::filesystem::create_directories(out());
  test::WriteFile(out() / "other.txt", "old and longer");
  auto reports = Save(w);
  EXPECT_EQ(Out("other.txt"), "new");
  EXPECT_EQ(reports[0].verdict, EntryVerdict::Verified);
  EXPECT_EQ(reports[1].verdict, EntryVerdict::Failed);  // a file stands where the folder would go
}

TEST_F(ExtractTest, TrailingSeparatorsOnTheDestinationChangeNothing) {
  ZipWriter w;
  w.Add("f.txt", "f", 0).Finish();
  test::WriteFile(dir_ / "a.zip", w.Bytes());
  test::SaveAll(dir_ / "a.zip", (dir_ / "out").string() + "///");
  EXPECT_EQ(Out("f.txt"), "f");
}

TEST_F(ExtractTest, TheSourceArchiveIsNeverTouched) {
  ZipWriter w;
  w.Add("f.txt", Text(9, 1000)).Finish();
  auto source = dir_ / "ro.zip";
  test::WriteFile(source, w.Bytes());
  ::chmod(source.c_str(), 0444);
  struct timespec old[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
  ::utimensat(AT_FDCWD, source.c_str(), old, 0);
  test::SaveAll(source, out());
  struct stat st {};
  ::stat(source.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_EQ(test::ReadFile(source), w.Bytes());
  EXPECT_EQ(Out("f.txt"), Text(9, 1000));
}


TEST_F(ExtractTest, AStopDuringAnEntryKeepsThePartialFileAndLeaksNothing) {
  ZipWriter w;
  w.Add("big.txt", Text(10, 2'000'000)).Finish();
  w.Save(dir_ / "a.zip");
  int before = test::CountOpenDescriptors();
  {
    CScanContext context;
    CRepairArchive archive(context);
    archive.OpenArchive(dir_ / "a.zip");
    StopAfter gate(4);  // one on entry, then one per buffer
    context.Gate = &gate;
    EntrySaveReport report;
    try {
      archive.SaveEntry(0, out(), CRepairArchive::kSaveBufferSize, &report);
      ADD_FAILURE() << "the stop was not honoured";
    } catch (const CArchiveError& e) {
      EXPECT_EQ(e.Code(), kStopped);
    }
    EXPECT_EQ(report.verdict, EntryVerdict::Partial);
    EXPECT_EQ(report.bytesWritten, 3u * CRepairArchive::kSaveBufferSize);
    archive.CloseArchive();
  }
  EXPECT_EQ(test::CountOpenDescriptors(), before);
  EXPECT_EQ(std::filesystem::file_size(out() / "big.txt"), 3u * CRepairArchive::kSaveBufferSize);
}

TEST_F(ExtractTest, TheLastOfMoreThan65536EntriesIsExtracted) {
  ZipWriter w;
  for (int i = 0; i < 66000; ++i) w.Add("f" + std::to_string(i), std::to_string(i), 0);
  w.Finish();
  w.Save(dir_ / "a.zip");
  CScanContext context;
  CRepairArchive archive(context);
  archive.OpenArchive(dir_ / "a.zip");
  ASSERT_EQ(archive.EntryCount(), 66000u);
  EXPECT_TRUE(archive.SaveEntry(65999, out()));
  EXPECT_EQ(Out("f65999"), "65999");
}

TEST_F(ExtractTest, ZeroBufferSizeWritesNothing) {
  ZipWriter w;
  w.Add("f.txt", "f").Finish();
  w.Save(dir_ / "a.zip");
  CScanContext context;
  CRepairArchive archive(context);
  archive.OpenArchive(dir_ / "a.zip");
  EXPECT_FALSE(archive.SaveEntry(0, out(), 0));
  EXPECT_FALSE(std::filesystem::exists(out()));
}

}  // namespace
}  // namespace vz
