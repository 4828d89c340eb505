#include "WxMessageService.h"

#include <wx/msgdlg.h>

namespace vz::app {

MessageAnswer CWxMessageService::Show(const MessageRequest& request) {
  long style = request.buttons == MessageButtons::YesNo ? (wxYES_NO | wxNO_DEFAULT) : wxOK;
  switch (request.icon) {
    case MessageIcon::Question: style |= wxICON_QUESTION; break;
    case MessageIcon::Warning: style |= wxICON_WARNING; break;
    case MessageIcon::Error: style |= wxICON_ERROR; break;
    default: style |= wxICON_INFORMATION; break;
  }
  if (request.systemModal) style |= wxSTAY_ON_TOP;
  wxMessageDialog dialog(parent_, wxString::FromUTF8(request.text), wxString::FromUTF8(request.caption), style);
  int answer = dialog.ShowModal();
  if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == wxID_YES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace vz::app
