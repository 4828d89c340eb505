#pragma once

#include <wx/window.h>

#include "app/Messages.h"

namespace vz::app {

// Every message box of the program: system-modal boxes stay on top.
class CWxMessageService : public IMessageService {
 public:
  MessageAnswer Show(const MessageRequest& request) override;
  void SetParent(wxWindow* parent) { parent_ = parent; }

 private:
  wxWindow* parent_ = nullptr;
};

}  // namespace vz::app
