#pragma once

#include <functional>
#include <thread>

#include "JobControl.h"

namespace vz::pipeline {

// Runs one pass on a worker thread under a job control, so that its dialog
// can pause, resume and stop it. One worker at a time.
class CPassRunner {
 public:
  CPassRunner() = default;
  CPassRunner(const CPassRunner&) = delete;
  CPassRunner& operator=(const CPassRunner&) = delete;
  ~CPassRunner() { Stop(); }

  // The body gets the gate to hand to its pass.
  void Start(std::function<void(IJobGate&)> body);
  // Pauses a running pass or resumes a paused one; true when now paused.
  bool TogglePause();
  bool IsPaused() const { return control_.IsPaused(); }
  // The control the pass's reports consult (nothing shows while paused).
  CJobControl& Control() { return control_; }
  // Stops the pass at its next checkpoint and waits for the worker to end.
  void Stop();
  // Waits for a worker that ended by itself.
  void Join();

  // Holds the pass still while a question stands, and leaves it as it was
  // found: running again afterwards only if it was running before.
  class Hold {
   public:
    explicit Hold(CPassRunner& runner) : runner_(runner), wasPaused_(runner.control_.IsPaused()) {
      if (!wasPaused_) runner_.control_.Pause();
    }
    ~Hold() {
      if (!wasPaused_ && !runner_.control_.IsStopped()) runner_.control_.Resume();
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    CPassRunner& runner_;
    bool wasPaused_;
  };

 private:
  CJobControl control_;
  std::thread worker_;
};

}  // namespace vz::pipeline
