#pragma once

#include <string>
#include <string_view>

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

// A Yes/No question with the question icon; true for Yes.
inline bool Ask(IMessageService& messages, std::string_view text, std::string_view caption) {
  return messages.Show({std::string(text), std::string(caption), MessageIcon::Question, MessageButtons::YesNo,
                        true}) == MessageAnswer::Yes;
}

// A notice with the information icon and OK.
inline void Tell(IMessageService& messages, std::string_view text, std::string_view caption,
                 bool systemModal = true) {
  messages.Show({std::string(text), std::string(caption), MessageIcon::Information, MessageButtons::Ok, systemModal});
}

}  // namespace vz::app
