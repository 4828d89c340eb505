// Large inputs: the scan runs through gigabytes in bounded memory, and an
// archive of a million entries is listed without exhausting memory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/ZipWriter.h"

namespace vz {
namespace {

namespace fs = std::filesystem;

struct Child {
  int exitCode = -1;
  long peakKb = 0;
  std::string err;
};

// Runs the command line with output to /dev/null and stderr to a file, and
// reads its exit code and peak memory.
Child RunMeasured(const std::vector<std::string>& arguments, const fs::path& errFile) {
  std::vector<char*> argv;
  std::string program = VZ_CLI_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copy = arguments;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    int devnull = ::open("/dev/null", O_WRONLY);
    int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(devnull, 1);
    ::dup2(err, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  Child child;
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  child.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  child.peakKb = usage.ru_maxrss;
  child.err = test::ReadFile(errFile);
  return child;
}

// Memory figures mean nothing under the sanitizers, and the normal build runs
// these already.
#if defined(__SANITIZE_ADDRESS__)
#define VZ_SKIP_UNDER_SANITIZERS() GTEST_SKIP() << "measured in the normal build"
#else
#define VZ_SKIP_UNDER_SANITIZERS() (void)0
#endif

TEST(LargeInputs, FiveGigabytesWithoutASignature) {
  VZ_SKIP_UNDER_SANITIZERS();
  test::TempDir dir;
  fs::path sparse = dir / "sparse.zip";
  test::WriteFile(sparse, "");
  fs::resize_file(sparse, std::uint64_t{5} << 30);
  Child list = RunMeasured({"list", "--quiet", sparse.string()}, dir / "err.txt");
  EXPECT_EQ(list.exitCode, 2);
  EXPECT_NE(list.err.find("holds no ZIP signature"), std::string::npos) << list.err;
  EXPECT_LT(list.peakKb, 64 * 1024);
  std::printf("[ figures  ] 5 GiB sparse, no signature: peak %ld KiB\n", list.peakKb);

  // The same stretch with a small archive at its end: the engine's own scan
  // crosses the five gigabytes too.
  test::ZipWriter w;
  w.Add("at-the-end.txt", "found").Finish();
  {
    std::FILE* f = std::fopen(sparse.c_str(), "ab");
    std::fwrite(w.Bytes().data(), 1, w.Bytes().size(), f);
    std::fclose(f);
  }
  Child recover = RunMeasured({"recover", "--quiet", "--mode", "advance", "--into", (dir / "out").string(), sparse.string()},
                              dir / "err.txt");
  EXPECT_EQ(recover.exitCode, 0) << recover.err;
  EXPECT_EQ(test::ReadFile(dir / "out/at-the-end.txt"), "found");
  EXPECT_LT(recover.peakKb, 64 * 1024);
  std::printf("[ figures  ] 5 GiB sparse, archive at its end, Advance: peak %ld KiB\n", recover.peakKb);
}

TEST(LargeInputs, AMillionTinyEntriesAreListed) {
  VZ_SKIP_UNDER_SANITIZERS();
  test::TempDir dir;
  {
    test::ZipWriter w;
    for (int i = 0; i < 1'000'000; ++i) w.Add("d" + std::to_string(i % 100) + "/" + std::to_string(i), "", 0);
    w.Finish();
    w.Save(dir / "million.zip");
  }
  Child list = RunMeasured({"list", "--quiet", (dir / "million.zip").string()}, dir / "err.txt");
  EXPECT_EQ(list.exitCode, 0) << list.err;
  // The entry list itself is kept; the rows are not.
  EXPECT_LT(list.peakKb, 512 * 1024);
  std::printf("[ figures  ] 1,000,000 entries listed: peak %ld KiB\n", list.peakKb);
}

}  // namespace
}  // namespace vz
