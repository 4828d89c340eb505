#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "pipeline/JobControl.h"
#include "zip/ArchiveError.h"

namespace vz::pipeline {
namespace {

using namespace std::chrono_literals;

// A worker that counts its checkpoints until it is stopped.
struct Worker {
  explicit Worker(CJobControl& control)
      : thread([this, &control] {
          try {
            for (;;) {
              control.Checkpoint();
              ++steps;
            }
          } catch (const CArchiveError& e) {
            stoppedWith = e.Code();
          }
        }) {}
  ~Worker() { thread.join(); }
  std::atomic<long> steps{0};
  std::atomic<int> stoppedWith{0};
  std::thread thread;
};

TEST(JobControl, PauseHoldsTheWorkerStillAndResumeLetsItGoOn) {
  CJobControl control;
  Worker worker(control);
  while (worker.steps < 1000) std::this_thread::yield();
  control.Pause();
  std::this_thread::sleep_for(20ms);  // let a checkpoint in flight finish
  long held = worker.steps;
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(worker.steps, held);
  EXPECT_TRUE(control.IsPaused());
  control.Resume();
  while (worker.steps < held + 1000) std::this_thread::yield();
  control.Stop();
}

TEST(JobControl, StopEndsAPausedWorkerToo) {
  CJobControl control;
  {
    Worker worker(control);
    control.Pause();
    std::this_thread::sleep_for(20ms);
    control.Stop();
  }
  EXPECT_TRUE(control.IsStopped());
  EXPECT_THROW(control.Checkpoint(), CArchiveError);
  control.Reset();
  EXPECT_NO_THROW(control.Checkpoint());
}

}  // namespace
}  // namespace vz::pipeline
