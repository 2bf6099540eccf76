#include "model/SectionEditor.h"

#include "model/CInstrumentDlg.h"

namespace vornel {

namespace {

SectionEditor g_noEditor;
SectionEditor* g_editor = &g_noEditor;

}  // namespace

bool SectionEditor::EditInstrument(CInstrumentDlg&) { return false; }

bool SectionEditor::ParseVoices(int&, int&) { return false; }

bool SectionEditor::EditSystemOptions(CStaveArray&) { return false; }

bool SectionEditor::EditTrackText(CTrackText&) { return false; }

bool SectionEditor::EditTrackFont(CInstrumentDlg& definition) { return EditTrackText(definition.nameText); }

bool SectionEditor::EditTuning(nTuning&) { return false; }

SectionEditor& SectionEditors() { return *g_editor; }

ScopedSectionEditor::ScopedSectionEditor(SectionEditor& editor) : previous_(g_editor) { g_editor = &editor; }

ScopedSectionEditor::~ScopedSectionEditor() { g_editor = previous_; }

}  // namespace vornel
