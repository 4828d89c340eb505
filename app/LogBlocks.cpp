#include "LogBlocks.h"

#include "zip/ScanContext.h"

namespace vz::app {
namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string_view RepairModeName(int mode) {
  return mode == kAdvanceRepair ? "Advance  Repair" : "Quick Repair";
}

std::string StartHeaderBlock(const std::tm& now) {
  std::string s = "\r\n\r\n\r\n\r\n";
  s += "********************************* Start Log File ********************************\r\n\r\n";
  s += "******************************Velmora for Zip*****************************\r\n\r\n";
  s += "Version 2.0\r\n";
  s += "Date    " + std::to_string(now.tm_mday) + "\\" + std::to_string(now.tm_mon + 1) + "\\" +
       std::to_string(now.tm_year + 1900) + "\r\n";
  s += "Time    " + std::to_string(now.tm_hour) + ":" + std::to_string(now.tm_min) + ":" +
       std::to_string(now.tm_sec) + "\r\n\r\n";
  s += "************************* Step 1 :- Source Files Selection ***********************\r\n\r\n";
  return s;
}

std::string RepairModeBlock(int mode) {
  std::string s = "\r\n\r\nRepair Mode  :      ";
  s += RepairModeName(mode);
  s += "\r\n______________\r\n";
  return s;
}

std::string SourceFilesBlock(std::span<const std::string> files, int mode, bool skipPreview) {
  std::string s = "Source Files :\r\n______________\r\n\r\n";
  int i = 1;
  for (const std::string& file : files) s += std::to_string(i++) + "-   " + file + "\r\n";
  s += RepairModeBlock(mode);
  s += "\r\nSkip Preview Status :    ";
  s += skipPreview ? "TRUE" : "FALSE";
  s += "\r\n____________________";
  return s;
}

std::string AnalysisHeadingBlock(std::size_t fileCount) {
  return "\r\n\r\n************************* Step 2 :- Analysis Of Files*****************************\r\n\r\n"
         "Total Files Count :    " +
         std::to_string(fileCount) + "\r\n___________________\r\n\r\n";
}

std::string FileStartBlock(int fileNumber, std::string_view path) {
  std::string s = "File Number :      " + std::to_string(fileNumber) + "\r\nFile Name   :      ";
  s += path;
  s += kCrLf;
  return s;
}

std::string FileEndBlock(std::size_t listed) {
  return "Number Of Files Extracted  :      " + std::to_string(listed) + "\r\n\r\n\r\n";
}

std::string ReturnBackBlock() { return "\r\nReturn Back to Previoue Step \r\n"; }

std::string SavingHeadingBlock() {
  return "\r\n\r\n*************************** Step 3 :- Files Saving********************************\r\n\r\n"
         "Destination Files Path :\r\n________________________\r\n\r\n";
}

std::string DestinationBlock(std::string_view folder) {
  std::string s(kCrLf);
  s += folder;
  return s;
}

std::string CompletedBlock() {
  return "\r\n\r\n******************* Repairing Completed successfully***********************************";
}

std::string AbortedBlock() { return "\r\n\r\n******************* Repairing aborted***********************************"; }

std::tm LocalNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace vz::app
