#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "app/Messages.h"

namespace vz::test {

// Answers the dialogs' message boxes from a script (No when the script has
// run out) and remembers every box it was shown.
struct ScriptedMessages : app::IMessageService {
  app::MessageAnswer Show(const app::MessageRequest& request) override {
    asked.push_back(request);
    if (onAsk) onAsk();
    if (request.buttons == app::MessageButtons::Ok) return app::MessageAnswer::Ok;
    app::MessageAnswer answer = next.empty() ? app::MessageAnswer::No : next.front();
    if (!next.empty()) next.pop_front();
    return answer;
  }
  std::deque<app::MessageAnswer> next;
  std::vector<app::MessageRequest> asked;
  std::function<void()> onAsk;
};

}  // namespace vz::test
