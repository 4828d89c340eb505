#pragma once

#include <string>

namespace vz::app {

enum class MessageIcon { Information, Question, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A message box as the dialogs ask for it. System-modal boxes stay on top
// of every window.
struct MessageRequest {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Information;
  MessageButtons buttons = MessageButtons::Ok;
  bool systemModal = true;
};

// The one way the dialogs talk to the user in boxes, so that tests can
// answer them.
class IMessageService {
 public:
  virtual ~IMessageService() = default;
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace vz::app
