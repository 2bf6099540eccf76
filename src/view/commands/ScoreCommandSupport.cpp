#include "view/commands/ScoreCommandSupport.h"

#include <algorithm>
#include <array>

#include "document/CPageDlg.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/text/CTrackText.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/core/CBriotabView.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/SectionPages.h"

namespace vornel::view {

namespace {
constexpr int kScreenDpi = 96;
}

CInstrumentDlg* ActiveDefinitionOf(const CBriotabView& view) {
  const CInstrument* line = view.ActiveLine();
  return line != nullptr ? line->definition : nullptr;
}

nChord* CursorChordOf(const CBriotabView& view) {
  CInstrument* line = view.ActiveLine();
  const CClef* stave = view.ActiveStave();
  if (line == nullptr || stave == nullptr || stave->cursorColumn < 0) return nullptr;
  nChordArray& voice = line->GetSelectedVoice();
  const size_t column = static_cast<size_t>(stave->cursorColumn);
  return column < voice.size() ? voice[column] : nullptr;
}

bool HasActiveLine(const CBriotabView& view) { return ActiveDefinitionOf(view) != nullptr; }

bool InTablature(const CBriotabView& view) {
  const CClef* stave = view.ActiveStave();
  return stave != nullptr && stave->IsTablature();
}

bool InNotation(const CBriotabView& view) {
  const CClef* stave = view.ActiveStave();
  return stave != nullptr && !stave->IsTablature();
}

namespace {

bool EditIf(CBriotabDoc& doc, int hint, bool everySection, const std::function<bool()>& edit) {
  if (everySection) {
    doc.BeginEverySectionEdit();
  } else {
    doc.SaveSnapshot();
  }
  if (!edit()) {
    doc.undoStack.PopFront();
    return false;
  }
  doc.NotifyChanged(hint);
  return true;
}

}  // namespace

void SnapshotEdit(CBriotabDoc& doc, int hint, const std::function<void()>& edit) {
  EditIf(doc, hint, false, [&] { return edit(), true; });
}

bool SnapshotEditIf(CBriotabDoc& doc, int hint, const std::function<bool()>& edit) {
  return EditIf(doc, hint, false, edit);
}

void EverySectionEdit(CBriotabDoc& doc, int hint, const std::function<void()>& edit) {
  EditIf(doc, hint, true, [&] { return edit(), true; });
}

bool EverySectionEditIf(CBriotabDoc& doc, int hint, const std::function<bool()>& edit) {
  return EditIf(doc, hint, true, edit);
}

namespace {

// A section's music laid out again in systems of the document's cursor steps per page.
void ReflowSection(const CBriotabDoc& doc, CSystemArray& section) {
  if (section.systems.empty()) return;
  const size_t run = static_cast<size_t>(doc.settings.GetCursorStepsPerPage());
  section.ReflowSystems(true, run);
  section.ReflowSystems(false, run);
}

}  // namespace

void ReformatActiveSection(CBriotabDoc& doc, bool snapshot) {
  if (snapshot) doc.SaveSnapshot();
  ReflowSection(doc, *doc.GetActiveSection());
  doc.SetModifiedFlag(true);
}

void ReflowAllSections(CBriotabDoc& doc) {
  for (const auto& section : doc.sections.items()) {
    if (section != nullptr) ReflowSection(doc, *section);
  }
  doc.SetModifiedFlag(true);
}

bool ReformatSectionsWithDialog(CBriotabDoc& doc) {
  CPageDlg& page = doc.settings.pageSettings;
  CReformatPageDlg dialog;
  dialog.pageSettings = &page;
  dialog.stavesPerPage = static_cast<int>(std::clamp<uint32_t>(page.systemsPerPage, 1, 12));
  dialog.spacing = static_cast<int>(std::clamp<uint32_t>(page.cursorWidth, 15, 300));
  if (!SectionEditingDialogs().ReformatPage(dialog) || !dialog.Validate().empty()) return false;
  CSystemArray& active = *doc.GetActiveSection();
  // The headings move in every section, and with "Reformat all sections" the music too.
  doc.BeginEverySectionEdit();
  if (dialog.reformatStaves) {
    page.systemsPerPage = static_cast<uint32_t>(dialog.stavesPerPage);
    page.cursorWidth = static_cast<uint32_t>(dialog.spacing);
    if (dialog.reformatAllSections) {
      ReflowAllSections(doc);
      doc.ApplySystemsPerPageToSections();
    } else {
      ReformatActiveSection(doc, false);
      active.stavesPerPage = dialog.stavesPerPage;
    }
  }
  const std::array<int, 3> modes = {dialog.titleAlignment, dialog.authorAlignment, dialog.commentsAlignment};
  PositionSectionTitles(doc, modes);
  RecordingDevice device(kScreenDpi, true, PangoTextEngine::Shared());
  device.SetRecording(false);
  for (const auto& section : doc.sections.items()) {
    if (section == nullptr || section.get() == &active) continue;
    PlaceSectionHeadings(*section, device, page, modes);
    for (const CSystemArray::TextIndex t : {CSystemArray::kTitle, CSystemArray::kAuthor, CSystemArray::kComments}) {
      const CTrackText* from = active.texts.at(t);
      CTrackText* to = section->texts.at(t);
      if (from != nullptr && to != nullptr && from->x != 0) to->y = from->y;
    }
  }
  doc.SetModifiedFlag(true);
  return true;
}

void PositionSectionTitles(CBriotabDoc& doc, const std::array<int, 3>& modes) {
  // Measured as on paper: a screen drawing would mark the section's active stave.
  RecordingDevice device(kScreenDpi, true, PangoTextEngine::Shared());
  device.SetRecording(false);
  PlaceSectionHeadings(*doc.GetActiveSection(), device, doc.settings.pageSettings, modes);
  doc.SetModifiedFlag(true);
}

void RecomputeSystemsPerPageOnScreen(CBriotabDoc& doc) {
  RecordingDevice screen(kScreenDpi, false, PangoTextEngine::Shared());
  screen.SetRecording(false);
  RecomputeSystemsPerPage(doc, screen);
}

}  // namespace vornel::view
