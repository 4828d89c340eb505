// The preview must list exactly the entries that saving writes, and neither
// pass may change the user's archive.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "pipeline/AnalysisPass.h"
#include "pipeline/JobControl.h"
#include "pipeline/SavingPass.h"
#include "tests/support/ZipWriter.h"

namespace vz::pipeline {
namespace {

struct Rows : IAnalysisReporter {
  void SetBarPosition(int) override {}
  void ClearRows() override { names.clear(); }
  void AddRow(const EntryRow& row) override { names.push_back(row.texts[0]); }
  void SetListedCount(const std::string&) override {}
  void ShowMessage(const UserMessage&) override {}
  void Finished() override {}
  std::vector<std::string> names;
};

struct Saved : ISavingReporter {
  void SetCurrentBar(int) override {}
  void SetOverallBar(int) override {}
  void SetFileName(const std::string&) override {}
  void SetFileNumber(const std::string&) override {}
  void SetFileTotal(const std::string&) override {}
  void SetDestination(const std::string&) override {}
  void EntrySaved(const EntrySaveReport& r) override {
    if (r.verdict != EntryVerdict::Skipped) names.push_back(r.name);
  }
  void Finished() override {}
  std::vector<std::string> names;
};

TEST(PreviewMatchesSaving, SameEntriesAndTheSourceUntouched) {
  test::TempDir dir;
  test::ZipWriter w;
  for (const char* name : {"ok.txt", "..", "", "BOOK.TXT", "PACK.DAT", "dir/", "/abs/x.txt", "C:\\y.txt", "./", "KP.DAT"}) {
    w.Add(name, std::string("data of ") + name, 0);
  }
  w.Finish();
  const auto source = dir / "a.zip";
  w.Save(source);
  ::chmod(source.c_str(), 0400);
  struct stat before {};
  ::stat(source.c_str(), &before);

  CScanContext context;
  CRepairArchive archive(context);
  app::CNullLog log;
  CJobControl control;
  int stall = 0;
  Rows rows;
  CAnalysisPass(archive, context, log, rows, control, stall).Run({source.string()}, 1);
  Saved saved;
  SavingRequest request;
  request.sourceFiles = {source.string()};
  request.destination = dir / "out";
  CSavingPass(archive, context, log, saved, control, stall).Run(request);

  EXPECT_EQ(rows.names, saved.names);
  EXPECT_EQ(rows.names, (std::vector<std::string>{"ok.txt", "BOOK.TXT", "PACK.DAT", "dir\\", "\\abs\\x.txt",
                                                  "C:\\y.txt", "KP.DAT"}));
  struct stat after {};
  ::stat(source.c_str(), &after);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(test::ReadFile(source), w.Bytes());
}

}  // namespace
}  // namespace vz::pipeline
