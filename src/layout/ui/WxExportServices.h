#pragma once
// The export services of the window layer: the "Tab formatting options" dialog. The editor's
// shell adds the programs (the TAB typesetter and the desktop's programs) through its own
// launcher.

#include "layout/export/DocumentExports.h"

class wxWindow;

namespace vornel {

class WxExportServices : public ExportServices {
 public:
  explicit WxExportServices(wxWindow* parent = nullptr) : parent_(parent) {}
  void SetParent(wxWindow* parent) { parent_ = parent; }

  bool EditTabOptions(CTabProperties& options) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
