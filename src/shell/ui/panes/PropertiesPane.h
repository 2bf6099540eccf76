#pragma once
// The properties window: the object combo (994), the tool bar (183) and a property grid over
// the property model. UpdatePropList shows a document and its active section (values are set
// in place, only the instrument groups are made again); an edit is stored through the model as
// one undoable document command, then the frame lays its panes out again (or, for "Visible",
// the active section is laid out again by command 34270).

#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/propgrid/manager.h>
#include <wx/propgrid/propgrid.h>
#include <wx/aui/auibar.h>

#include <functional>
#include <map>

#include "shell/properties/PropertyModel.h"

namespace vornel {

class PropertiesPane : public wxPanel {
 public:
  // `send` sends a command to the main window; `layoutReset` asks the frame to lay its panes out
  // again and the view to re-format.
  PropertiesPane(wxWindow* parent, std::function<void(int)> send, std::function<void()> layoutReset);

  // Shows the document and its section; with either null, empties and disables the grid.
  void UpdatePropList(CBriotabDoc* document, CSystemArray* section);

  properties::PropertyModel& Model() { return model_; }
  wxPropertyGrid* Grid() const { return grid_; }
  wxChoice* ObjectCombo() const { return combo_; }
  wxAuiToolBar* ToolBar() const { return toolBar_; }
  // The grid's property of a data number (null for none).
  wxPGProperty* Property(int number) const;
  // Stores the value the grid holds for a property, as an edit does.
  void StoreFromGrid(wxPGProperty* property);
  // The combo's choice: 0 the document's groups, 1 the section's, 2 the instruments.
  void ShowGroupsOf(int index);

 private:
  void InitPropList();
  void FillInstruments();
  void OnPropertyChanged(wxPropertyGridEvent& event);
  void OnTool(int command);

  std::function<void(int)> send_;
  std::function<void()> layoutReset_;
  properties::PropertyModel model_;
  wxChoice* combo_ = nullptr;
  wxAuiToolBar* toolBar_ = nullptr;
  wxPropertyGridManager* manager_ = nullptr;
  wxPropertyGrid* grid_ = nullptr;
  std::map<int, wxPGProperty*> properties_;
  std::map<wxPGProperty*, int> numbers_;
  bool expanded_ = true;
  bool filling_ = false;
};

}  // namespace vornel
