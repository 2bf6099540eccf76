#pragma once
// The progress of a long run over files in a window with a bar, a status line and Cancel.

#include <wx/progdlg.h>

#include <memory>
#include <string>

#include "platform/BatchProgress.h"

class wxWindow;

namespace vornel {

class ProgressDialogRun : public BatchProgress {
 public:
  explicit ProgressDialogRun(wxWindow* parent) : parent_(parent) {}
  void Start(int total, const std::string& title) override;
  bool Step(int number, const std::string& status) override;
  void Finish() override;

 private:
  wxWindow* parent_;
  std::unique_ptr<wxProgressDialog> dialog_;
};

}  // namespace vornel
