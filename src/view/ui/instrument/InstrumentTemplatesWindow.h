#pragma once
// "Select instrument" on screen: the instrument base by family tab, a list of its definitions
// (report or small-icon view), a staff of the selected definition (as notation or tablature)
// and the commands that edit, add, delete, import, export and reset the base. The base and its rules are
// CInstrumentTemplates; this window only shows them.

#include <functional>
#include <vector>

#include "document/InstrumentChooser.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "layout/ui/dialogs/TexturedDialog.h"
#include "view/ui/dialogs/CStaticStaff.h"
#include "view/ui/instrument/InstrumentListCtrl.h"

class wxCheckBox;
class wxNotebook;
class wxRadioButton;

namespace vornel {

class InstrumentTemplatesWindow : public TexturedDialog {
 public:
  static constexpr const char* kOkLabel = "Apply selected instrument definition to current  instrument";
  static constexpr int kPreview = 1192;
  // What "Add this instrument to the current section" does with the selected definition.
  using AddToSection = std::function<void(const CInstrumentDlg&)>;

  InstrumentTemplatesWindow(wxWindow* parent, CInstrumentTemplates& base, AddToSection addToSection = {});

  // The definition chosen with OK; null until then, or when nothing was selected.
  CInstrumentDlg* Chosen() const { return chosen_; }

  // The commands, as the buttons run them (tests call them directly).
  void SelectTab(size_t tab);
  size_t ShownTab() const;
  void RefillList();
  void EditSelected();
  void AddInstrument();
  void DeleteSelected();
  void ToggleUnsorted();
  void ImportBase(const std::string& path);
  void ClearAll();
  void LoadDefault();
  void ShowPreview();
  // OK or Exit: the save question; false keeps the dialog open.
  bool Close(bool ok);

  wxNotebook* tabs = nullptr;
  CInstrumentListCtrl* list = nullptr;
  CStaticStaff* preview = nullptr;
  wxRadioButton* notation = nullptr;
  wxRadioButton* tablature = nullptr;
  wxCheckBox* unsorted = nullptr;
  bool unsortedFlag = false;

 private:
  CInstrumentTemplates& base_;
  AddToSection addToSection_;
  CInstrumentDlg* chosen_ = nullptr;
};

// The instrument chooser over the templates dialog: the base as configured, the choice copied.
class TemplatesInstrumentChooser : public InstrumentChooser {
 public:
  explicit TemplatesInstrumentChooser(InstrumentTemplatesWindow::AddToSection addToSection = {})
      : addToSection_(std::move(addToSection)) {}
  bool ChooseInstrumentDefinition(CInstrumentDlg& definition) override;

 private:
  InstrumentTemplatesWindow::AddToSection addToSection_;
};

}  // namespace vornel
