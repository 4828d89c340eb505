#pragma once

#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace vz::app {

// The blocks of the activity log, each as one text. Line ends are "\r\n" and
// numbers have no leading zeros, as the log has always been written.

// "Quick Repair" or "Advance  Repair".
std::string_view RepairModeName(int mode);

std::string StartHeaderBlock(const std::tm& now);
std::string RepairModeBlock(int mode);
std::string SourceFilesBlock(std::span<const std::string> files, int mode, bool skipPreview);
std::string AnalysisHeadingBlock(std::size_t fileCount);
std::string FileStartBlock(int fileNumber, std::string_view path);
std::string FileEndBlock(std::size_t listed);
std::string ReturnBackBlock();
std::string SavingHeadingBlock();
std::string DestinationBlock(std::string_view folder);
std::string CompletedBlock();
std::string AbortedBlock();

// The local time now, broken down.
std::tm LocalNow();

}  // namespace vz::app
