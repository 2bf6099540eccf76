#pragma once
// The export services of the editor: the options dialog, the TAB typesetter started as a
// configurable command, and the desktop's program for everything else.

#include <functional>
#include <string>

#include "layout/export/DocumentExports.h"

class wxWindow;

namespace vornel {

class WxExportServices : public ExportServices {
 public:
  static constexpr const char* kNotFoundQuestion = "Tab program path not found: \nDo you want to search for it now?";
  static constexpr const char* kNotFoundCaption = "Program not found";

  explicit WxExportServices(wxWindow* parent = nullptr) : parent_(parent) {}
  void SetParent(wxWindow* parent) { parent_ = parent; }

  bool EditTabOptions(CTabProperties& options) override;
  // Runs the typesetter with " -P " and the file in the file's folder; once it has ended,
  // its PostScript output "out.ps" there is opened. While no typesetter is set, asks for one.
  void RunTabProgram(const std::string& path) override;
  void OpenWithDesktop(const std::string& path) override;

  // The typesetter's command ("TabDosPath"); `onChosen` is told when the user picks one.
  std::string tabProgram;
  std::function<void(const std::string&)> onChosen;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
