#pragma once

#include <vector>

#include "BigFile.h"
#include "EntryHeader.h"
#include "ScanContext.h"

namespace vz {

// Rebuilds an archive's entry list without its end record, by the scan that
// context.RepairMode selects:
//  - Quick Repair: one entry per local header signature in file order, names
//    corrected from the central directory where a central record pairs with
//    the header by order, offset, compressed size and name length;
//  - Advance Repair: one entry per distinct local header offset found by the
//    scan or named by a central header, the scanned ones first.
// Progress goes to context.Progress every 100 bytes of each pass; the gate is
// asked at every report and every record. Sets context.EntriesFound.
std::vector<CEntryHeader> RunRepairScan(const CBigFile& file, CScanContext& context);

}  // namespace vz
