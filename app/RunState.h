#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "zip/ScanContext.h"

namespace vz::app {

// What the main dialog hands to the repair: the archives in row order, how
// many there were when Repair was pressed, the mode and the preview choice.
// The mode and the choice last for the process.
struct RunState {
  std::vector<std::string> SourceFileList;
  std::size_t SourceFileCount = 0;
  int RepairMode = kQuickRepair;
  bool SkipPreview = false;
};

}  // namespace vz::app
