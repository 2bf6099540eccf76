#pragma once
// The export services of the editor: the options dialog of the window layer, the TAB
// typesetter and the desktop's programs started as the application starts every program, and
// the application's settings (XML folder, Braille page).

#include "layout/ui/WxExportServices.h"

namespace vornel {

class CVornelTabApp;

class ShellExportServices : public WxExportServices {
 public:
  ShellExportServices(CVornelTabApp& app, wxWindow* parent = nullptr);

  void RunTabProgram(const std::string& path) override;
  void OpenWithDesktop(const std::string& path) override;
  // The settings of the application as they stand now.
  void TakeSettings();

 private:
  CVornelTabApp& app_;
};

}  // namespace vornel
