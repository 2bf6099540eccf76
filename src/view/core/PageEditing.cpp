#include "view/core/PageEditing.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/text/RichTextEditor.h"
#include "model/score/SectionEditor.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

struct CursorPlace {
  int32_t system = 0;
  int32_t line = 0;
  int32_t stave = 0;
  int32_t column = 0;
  int32_t row = 0;
  bool operator==(const CursorPlace&) const = default;
};

CursorPlace PlaceOf(const CSystemArray& section) {
  CursorPlace place;
  place.system = section.activeSystem;
  if (section.activeSystem < 0 || static_cast<size_t>(section.activeSystem) >= section.systems.size()) return place;
  const CStaveArray* system = section.systems.at(static_cast<size_t>(section.activeSystem));
  if (system == nullptr) return place;
  place.line = system->activeInstrument;
  if (place.line < 0 || static_cast<size_t>(place.line) >= system->lines.size()) return place;
  const CInstrument* line = system->lines.at(static_cast<size_t>(place.line));
  if (line == nullptr) return place;
  place.stave = line->activeStave;
  if (place.stave < 0 || static_cast<size_t>(place.stave) >= line->staves.size()) return place;
  const CClef* stave = line->staves.at(static_cast<size_t>(place.stave));
  if (stave == nullptr) return place;
  place.column = stave->cursorColumn;
  place.row = stave->cursorRow;
  return place;
}

// The systems drawn on a page of the section.
std::pair<size_t, size_t> PageSystems(const CSystemArray& section, int32_t pageIndex) {
  const size_t page = static_cast<size_t>(std::max(pageIndex, 0));
  const size_t first = section.FirstSystemOfPage(page);
  const size_t end = std::min(first + section.SystemsOnPage(page), section.systems.size());
  return {first, std::max(first, end)};
}

bool EditRichText(std::string& rtf) {
  int32_t length = 0;
  std::string edited = rtf;
  if (!RichTextEditors().Edit(edited, false, length)) return false;
  rtf = length == 0 ? std::string() : edited;
  return true;
}

}  // namespace

bool PlaceCursorAtPoint(CSystemArray& section, int32_t, Point point) {
  if (section.activeSystem < 0 || static_cast<size_t>(section.activeSystem) >= section.systems.size()) return false;
  CStaveArray* system = section.systems.at(static_cast<size_t>(section.activeSystem));
  if (system == nullptr) return false;
  const CursorPlace before = PlaceOf(section);
  system->HitTestLine(point.x, point.y);
  return !(PlaceOf(section) == before);
}

int DoubleClickSystem(CSystemArray& section, int32_t pageIndex, Point point) {
  const auto [first, end] = PageSystems(section, pageIndex);
  for (size_t s = first; s < end; ++s) {
    CStaveArray* system = section.systems.at(s);
    if (system == nullptr) continue;
    const SystemCaption& caption = system->Caption();
    if (!caption.captionText.drawnRect.IsEmpty() && caption.captionText.drawnRect.Contains(point)) {
      section.activeSystem = static_cast<int32_t>(s);
      return 1;
    }
    if (!caption.rtfBox.drawnRect.IsEmpty() && caption.rtfBox.drawnRect.Contains(point)) {
      std::string rtf = caption.rtfBox.text;
      if (EditRichText(rtf) && rtf != caption.rtfBox.text) system->EditCaption().rtfBox.text = std::move(rtf);
      return 0;
    }
    if (!system->optionsArea.IsEmpty() && system->optionsArea.Contains(point)) {
      section.activeSystem = static_cast<int32_t>(s);
      SectionEditors().EditSystemOptions(*system);
      section.NumberBars(1);
      return 0;
    }
  }
  return 0;
}

bool EditObjectAt(CBriotabDoc& doc, int32_t pageIndex, Point point) {
  CSystemArray& section = *doc.GetActiveSection();
  CInstrument* line = doc.GetActiveInstrument();
  nChordArray* voice = nullptr;
  bool tablature = true;
  if (line != nullptr) {
    voice = &line->GetSelectedVoice();
    const CClef* stave = line->GetCurrentStave();
    tablature = stave == nullptr || stave->IsTablature();
    voice->StartMetaEventSearch(static_cast<size_t>(std::max(stave != nullptr ? stave->cursorColumn : 0, 0)));
  }
  if (DoubleClickSystem(section, pageIndex, point) != 0) {
    if (CStaveArray* system = doc.GetActiveSystem()) SectionEditors().EditSystemOptions(*system);
    return true;
  }
  return voice != nullptr && voice->EditMetaEventAt(point.x, point.y, tablature);
}

bool EditTrackTextAt(CBriotabDoc& doc, Point point) {
  CSystemArray& section = *doc.GetActiveSection();
  for (size_t i = 0; i < section.texts.size(); ++i) {
    CTrackText* text = section.texts.at(i);
    if (text == nullptr || text->drawnRect.IsEmpty() || !text->drawnRect.Contains(point)) continue;
    SectionEditors().EditTrackText(*text);
    doc.ApplySectionFonts(0);
    doc.ApplySectionFonts(1);
    return true;
  }
  if (section.activeSystem != 0 || section.systems.empty()) return false;
  const CStaveArray* system = section.systems.at(0);
  if (system == nullptr || system->lines.empty() || system->lines.at(0) == nullptr) return false;
  const CInstrument& line = *system->lines.at(0);
  if (line.activeStave < 0 || static_cast<size_t>(line.activeStave) >= line.staves.size()) return false;
  // The name stands left of the staves, in the room the system keeps for names.
  const Rect name{line.lineRect.left - system->nameWidth, line.lineRect.top, line.lineRect.left,
                  line.lineRect.top + std::max(line.GetHeight(), 1)};
  if (name.IsEmpty() || !name.Contains(point) || line.definition == nullptr) return false;
  SectionEditors().EditTrackFont(*line.definition);
  return true;
}

}  // namespace vornel
