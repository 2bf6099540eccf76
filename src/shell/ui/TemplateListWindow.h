#pragma once
// "Template list" on screen: a list box of the entries, "Apply selected template" (or a
// double click) takes the selection.

#include <wx/dialog.h>

#include "shell/files/TemplateList.h"

class wxListBox;

namespace vornel {

class TemplateListWindow : public wxDialog {
 public:
  TemplateListWindow(wxWindow* parent, CTemplateList& list);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  wxListBox* entries = nullptr;

 private:
  CTemplateList& list_;
};

class WxTemplateListDialogs : public TemplateListDialogs {
 public:
  bool Run(CTemplateList& list) override;
};

}  // namespace vornel
