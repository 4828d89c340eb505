#include "PassRunner.h"

namespace vz::pipeline {

void CPassRunner::Start(std::function<void(IJobGate&)> body) {
  Stop();
  control_.Reset();
  worker_ = std::thread([this, body = std::move(body)] { body(control_); });
}

bool CPassRunner::TogglePause() {
  if (control_.IsPaused()) {
    control_.Resume();
    return false;
  }
  control_.Pause();
  return true;
}

void CPassRunner::Stop() {
  if (!worker_.joinable()) return;
  control_.Stop();
  worker_.join();
}

void CPassRunner::Join() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace vz::pipeline
