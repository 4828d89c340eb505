// velmora-zip-cli: lists and recovers the entries of damaged ZIP archives.
#include <CLI/CLI.hpp>

#include <iostream>

#include "Options.h"

int main(int argc, char** argv) {
  using namespace vz::cli;
  CLI::App app{
      "Recovers the entries of damaged ZIP archives. The archives are only read, never changed.\n\n"
      "Exit codes:\n"
      "  0    every entry recovered and verified by its CRC-32\n"
      "  1    something recovered, but not all of it verified (partial, CRC mismatch,\n"
      "       no CRC to check, or an archive that could not be read)\n"
      "  2    nothing recoverable\n"
      "  64   usage error\n"
      "  130  interrupted (Ctrl+C); what was written so far is kept",
      "velmora-zip-cli"};
  app.require_subcommand(1);
  Options options;
  auto modeOption = [&options](CLI::App* command) {
    command->add_option("--mode", options.mode, "quick (default) or advance")
        ->check(CLI::IsMember({"quick", "advance"}));
    command->add_flag("--json", options.json, "Print one JSON document instead of text");
    command->add_flag("--log", options.log, "Also append the run to the activity log");
    command->add_flag("-q,--quiet", options.quiet, "No progress line on the terminal");
    command->add_option("archives", options.archives, "ZIP archives")->required();
  };

  CLI::App* list = app.add_subcommand("list", "List the entries that can be recovered, with sizes, time and CRC-32");
  modeOption(list);

  CLI::App* recover = app.add_subcommand("recover", "Write the recoverable entries into a folder");
  auto* out = recover->add_option("--out", options.out,
                                  "Make a folder \"VF_Recovered_Zip  d-m-yyyy  h-m-s\" per archive inside DIR");
  auto* into = recover->add_option("--into", options.into, "Write the entries straight into DIR");
  out->excludes(into);
  into->excludes(out);
  modeOption(recover);
  recover->footer("Examples:\n  velmora-zip-cli recover --out ~/Recovered broken.zip\n"
                  "  velmora-zip-cli recover --mode advance --into /tmp/x --json broken.zip");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? 0 : kExitUsage;
  }
  if (*list) return ListArchives(options);
  if (options.out.empty() && options.into.empty()) {
    std::cerr << "velmora-zip-cli: recover needs --out DIR or --into DIR\nRun with --help for more information.\n";
    return kExitUsage;
  }
  return RecoverArchives(options);
}
