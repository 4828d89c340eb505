#pragma once

#include <string>
#include <vector>

namespace vz::cli {

enum ExitCode : int {
  kExitAllVerified = 0,     // every entry recovered and verified
  kExitSomeUnverified = 1,  // something recovered, not all of it verified
  kExitNothing = 2,         // nothing recoverable
  kExitUsage = 64,          // the command line was wrong
  kExitInterrupted = 130,   // stopped by Ctrl+C
};

struct Options {
  std::vector<std::string> archives;
  std::string mode = "quick";
  bool json = false;
  bool log = false;
  bool quiet = false;
  std::string out;   // dated folder per archive inside it
  std::string into;  // entries straight into it
};

int ListArchives(const Options& options);
int RecoverArchives(const Options& options);

}  // namespace vz::cli
