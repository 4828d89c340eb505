#pragma once

#include <condition_variable>
#include <mutex>

#include "zip/ScanContext.h"

namespace vz::pipeline {

// Pause, resume and stop for one worker, cooperatively: the worker calls
// Checkpoint() at its own safe points (the engine does at every progress
// report, record and output buffer). While paused, Checkpoint() blocks, so
// the worker shows nothing new; after Stop() it throws CArchiveError(kStopped),
// which unwinds the worker and releases every file it holds.
class CJobControl : public IJobGate {
 public:
  void Pause();
  void Resume();
  void Stop();
  // Makes the control ready for the next job.
  void Reset();

  bool IsPaused() const;
  bool IsStopped() const;

  void Checkpoint() override;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool stopped_ = false;
};

}  // namespace vz::pipeline
