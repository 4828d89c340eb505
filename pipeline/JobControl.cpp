#include "JobControl.h"

#include "zip/ArchiveError.h"

namespace vz::pipeline {

void CJobControl::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void CJobControl::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

void CJobControl::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

void CJobControl::Reset() {
  std::lock_guard lock(mutex_);
  paused_ = false;
  stopped_ = false;
}

bool CJobControl::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

bool CJobControl::IsStopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

void CJobControl::Checkpoint() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || stopped_; });
  if (stopped_) throw CArchiveError(kStopped);
}

}  // namespace vz::pipeline
