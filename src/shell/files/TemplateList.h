#pragma once
// The two small list dialogs of the templates: "Template list", from which File > New takes a
// document template of the templates folder, and its instrument form, which lists the
// instrument base by name. The window layer installs the dialog that shows them.

#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CInstrumentArray;

struct CTemplateList {
  static constexpr std::string_view kCaption = "Template list";
  static constexpr std::string_view kApplyLabel = "Apply selected template";

  std::string caption{kCaption};
  std::vector<std::string> entries;
  int chosenIndex = -1;  // -1 when nothing is chosen
  std::string chosenText;

  // The document templates of the folder (".btt" and ".bttx"); none when it cannot be read.
  void FillFromFolder(const std::string& templatesFolder);
  // OK or a double click: the selection (-1 for none) and its text.
  void Take(int selection);
};

struct CInstrumentList : CTemplateList {
  static constexpr std::string_view kInstrumentCaption = "Select an instrument to import into";
  CInstrumentList() { caption = std::string(kInstrumentCaption); }
  // The names of the base's definitions, in base order.
  void FillFromBase(const CInstrumentArray& base);
};

class TemplateListDialogs {
 public:
  virtual ~TemplateListDialogs() = default;
  // Shows the list; true on OK with the choice taken. Without a window layer nothing is chosen.
  virtual bool Run(CTemplateList& list);
};

TemplateListDialogs& TemplateListDialogsInForce();

class ScopedTemplateListDialogs {
 public:
  explicit ScopedTemplateListDialogs(TemplateListDialogs& dialogs);
  ~ScopedTemplateListDialogs();
  ScopedTemplateListDialogs(const ScopedTemplateListDialogs&) = delete;
  ScopedTemplateListDialogs& operator=(const ScopedTemplateListDialogs&) = delete;

 private:
  TemplateListDialogs* previous_;
};

}  // namespace vornel
