#include "model/score/SectionEditor.h"

#include "model/instrument/CInstrumentDlg.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kName = "section editor";

SectionEditor g_noEditor;
ObjectSlot<SectionEditor> g_editor(kName, g_noEditor);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kName);
  return false;
}

}  // namespace

bool SectionEditor::EditInstrument(CInstrumentDlg&) { return Missing(); }

bool SectionEditor::ParseVoices(int&, int&) { return Missing(); }

bool SectionEditor::EditSystemOptions(CStaveArray&) { return Missing(); }

bool SectionEditor::EditTrackText(CTrackText&) { return Missing(); }

bool SectionEditor::EditTrackFont(CInstrumentDlg& definition) { return EditTrackText(definition.nameText); }

bool SectionEditor::EditTuning(nTuning&) { return Missing(); }

SectionEditor& SectionEditors() { return g_editor.Get(); }

ScopedSectionEditor::ScopedSectionEditor(SectionEditor& editor) : previous_(g_editor.Exchange(&editor)) {}

ScopedSectionEditor::~ScopedSectionEditor() { g_editor.Exchange(previous_); }

}  // namespace vornel
