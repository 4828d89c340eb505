#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vz::test {

struct CliResult {
  int exitCode = -1;
  std::string text;  // what the chosen stream printed
};

// Runs velmora-zip-cli with a shell command line's arguments and collects
// stdout (or stderr, with stdout discarded); a minute at most.
inline CliResult RunCli(const std::string& arguments, bool readStderr = false, const std::string& environment = "") {
  std::string redirect = readStderr ? " 2>&1 >/dev/null" : " 2>/dev/null";
  std::string command = environment + " timeout 60 '" VZ_CLI_PATH "' " + arguments + redirect;
  CliResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.text.append(buffer, n);
  int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace vz::test
