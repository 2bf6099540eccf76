#include "platform/ui/ProgressDialogRun.h"

#include <algorithm>

namespace vornel {

void ProgressDialogRun::Start(int total, const std::string& title) {
  dialog_ = std::make_unique<wxProgressDialog>(wxString::FromUTF8(title.c_str()), wxString(' ', 60), std::max(total, 1),
                                               parent_, wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_AUTO_HIDE);
}

bool ProgressDialogRun::Step(int number, const std::string& status) {
  return dialog_ == nullptr || dialog_->Update(std::max(number - 1, 0), wxString::FromUTF8(status.c_str()));
}

void ProgressDialogRun::Finish() { dialog_.reset(); }

}  // namespace vornel
