#include <gtest/gtest.h>

#include <numeric>

#include "app/LogBlocks.h"
#include "zip/ScanContext.h"

namespace vz::app {
namespace {

// Each block as the list of pieces the log has always been written in.
std::string Pieces(std::initializer_list<std::string> pieces) {
  return std::accumulate(pieces.begin(), pieces.end(), std::string());
}

TEST(LogBlocks, StartHeaderHasUnpaddedDateAndTime) {
  std::tm tm{};
  tm.tm_mday = 7;
  tm.tm_mon = 11;
  tm.tm_year = 126;
  tm.tm_hour = 20;
  tm.tm_min = 5;
  tm.tm_sec = 9;
  EXPECT_EQ(StartHeaderBlock(tm),
            Pieces({"\r\n", "\r\n", "\r\n", "\r\n",
                    "********************************* Start Log File ********************************", "\r\n",
                    "\r\n", "******************************Velmora for Zip*****************************", "\r\n",
                    "\r\n", "Version 2.0", "\r\n", "Date", "    ", "7\\12\\2026", "\r\n", "Time", "    ", "20:5:9",
                    "\r\n", "\r\n",
                    "************************* Step 1 :- Source Files Selection ***********************", "\r\n",
                    "\r\n"}));
}

TEST(LogBlocks, RepairModeAndSourceFiles) {
  EXPECT_EQ(RepairModeBlock(kQuickRepair),
            Pieces({"\r\n", "\r\n", "Repair Mode  :      ", "Quick Repair", "\r\n", "______________", "\r\n"}));
  EXPECT_EQ(RepairModeBlock(kAdvanceRepair),
            Pieces({"\r\n", "\r\n", "Repair Mode  :      ", "Advance  Repair", "\r\n", "______________", "\r\n"}));
  std::vector<std::string> files = {"/home/u/a.zip", "/home/u/b c.zip"};
  EXPECT_EQ(SourceFilesBlock(files, kAdvanceRepair, true),
            Pieces({"Source Files :", "\r\n", "______________", "\r\n", "\r\n", "1", "-", "   ", "/home/u/a.zip",
                    "\r\n", "2", "-", "   ", "/home/u/b c.zip", "\r\n", "\r\n", "\r\n", "Repair Mode  :      ",
                    "Advance  Repair", "\r\n", "______________", "\r\n", "\r\n", "Skip Preview Status :", "    ",
                    "TRUE", "\r\n", "____________________"}));
  EXPECT_NE(SourceFilesBlock(files, kQuickRepair, false).find("Quick Repair\r\n"), std::string::npos);
  EXPECT_NE(SourceFilesBlock(files, kQuickRepair, false).find("    FALSE\r\n"), std::string::npos);
}

TEST(LogBlocks, AnalysisAndSavingBlocks) {
  EXPECT_EQ(AnalysisHeadingBlock(3),
            Pieces({"\r\n", "\r\n",
                    "************************* Step 2 :- Analysis Of Files*****************************", "\r\n",
                    "\r\n", "Total Files Count :", "    ", "3", "\r\n", "___________________", "\r\n", "\r\n"}));
  EXPECT_EQ(FileStartBlock(2, "/x/y.zip"),
            Pieces({"File Number :      ", "2", "\r\n", "File Name   :      ", "/x/y.zip", "\r\n"}));
  EXPECT_EQ(FileEndBlock(0), Pieces({"Number Of Files Extracted  :      ", "0", "\r\n", "\r\n", "\r\n"}));
  EXPECT_EQ(ReturnBackBlock(), Pieces({"\r\n", "Return Back to Previoue Step ", "\r\n"}));
  EXPECT_EQ(SavingHeadingBlock(),
            Pieces({"\r\n", "\r\n",
                    "*************************** Step 3 :- Files Saving********************************", "\r\n",
                    "\r\n", "Destination Files Path :", "\r\n", "________________________", "\r\n", "\r\n"}));
  EXPECT_EQ(DestinationBlock("/out/VF_Recovered_Zip  7-12-2026  20-5-9"),
            "\r\n/out/VF_Recovered_Zip  7-12-2026  20-5-9");
  EXPECT_EQ(CompletedBlock(),
            Pieces({"\r\n", "\r\n", "******************* Repairing Completed successfully***********************************"}));
  EXPECT_EQ(AbortedBlock(),
            Pieces({"\r\n", "\r\n", "******************* Repairing aborted***********************************"}));
}

}  // namespace
}  // namespace vz::app
