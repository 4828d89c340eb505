#pragma once

#include "zip/ScanContext.h"

namespace vz::pipeline {

// Lends a pass's gate to the engine for the pass's duration, so that the
// engine's own checkpoints (scan reports, records, output buffers) pause and
// stop with the pass.
class GateInstaller {
 public:
  GateInstaller(CScanContext& context, IJobGate& gate) noexcept : context_(context), previous_(context.Gate) {
    context_.Gate = &gate;
  }
  ~GateInstaller() { context_.Gate = previous_; }
  GateInstaller(const GateInstaller&) = delete;
  GateInstaller& operator=(const GateInstaller&) = delete;

 private:
  CScanContext& context_;
  IJobGate* previous_;
};

}  // namespace vz::pipeline
