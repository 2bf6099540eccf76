#pragma once
// Documents for the page tests and the page benchmark: sections of staff notation of any
// length, and an edition like those the system prints: a title page, a preface, the contents
// with page numbers, two facsimiles of the corpus's images and three sections, the first a
// MIDI file of the corpus imported.

#include <memory>
#include <string>

#include "document/CVornelTabDoc.h"
#include "midi/MidiImport.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/draw/RecordingDevice.h"
#include "view/render/pages/DocumentSettingsDrawing.h"

namespace vornel::testing {

inline std::unique_ptr<nChord> PageChord(int code, std::initializer_list<int> pitches) {
  auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(code));
  for (const int pitch : pitches) {
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(pitch);
    chord->AddNote(std::move(note));
  }
  return chord;
}

// `systems` systems of one staff in two voices, three bars of eighths over quarters each,
// numbered, with the section's title.
inline std::unique_ptr<CSystemArray> NotatedSection(const std::string& title, size_t systems) {
  auto section = std::make_unique<CSystemArray>();
  section->Title().text = title;
  CInstrumentDlg& guitar = *section->Definition(0);
  guitar.ApplyNotationPreset(1);
  guitar.staves.at(0)->enabledVoices = CClef::kBothVoicesMerged;
  section->DeleteAllSystems();
  for (size_t s = 0; s < systems; ++s) {
    CStaveArray& system = *section->NewSystem(CSystemArray::kAppend);
    CInstrument& line = *system.Line(0);
    static constexpr int kUpper[] = {76, 78, 80, 81, 83, 85, 86, 88, 70, 73, 75, 77, 63, 66, 68, 71,
                                     79, 84, 86, 91, 67, 64, 62, 60};
    for (int bar = 0; bar < 3; ++bar) {
      for (int i = 0; i < 8; ++i) {
        line.firstVoice.push_back(PageChord(4, {kUpper[(bar * 8 + i + static_cast<int>(s)) % 24] - 12}));
        if (i == 0 || i == 2) {
          line.secondVoice.push_back(PageChord(3, {43 + bar + i}));
        } else if (i == 4 || i == 5) {
          line.secondVoice.push_back(PageChord(4, {48 + i, 40}));
        } else {
          line.secondVoice.push_back(nullptr);
        }
      }
      line.firstVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
      line.secondVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
    }
  }
  section->NumberBars(0);
  return section;
}

struct EditionOptions {
  std::string corpus;            // the corpus folder
  size_t systemsPerSection = 12;
  int32_t systemsPerPage = 6;
  int32_t notatedSections = 2;   // after the imported one
  bool preliminaries = true;     // title page, contents, preface and facsimiles
  bool importedSection = true;
};

// The edition: title page, preface, contents, facsimiles, an imported section and notated
// sections; every section printed, run on, a section starting on a new page.
inline std::unique_ptr<CVornelTabDoc> EditionDocument(const EditionOptions& o) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CDocumentSettings& settings = doc->settings;
  CPageDlg& page = settings.pageSettings;
  page.paperFormat = 9;
  page.printAllSections = 1;
  page.systemsPerPage = static_cast<uint32_t>(o.systemsPerPage);
  page.pageNumberAlignment = CPageDlg::kBottomCenter;

  CTrackText& title = settings.Text(CDocumentSettings::kTitle);
  title.text = "Lachrimae Pavans";
  title.font.pointSize.cx = 280;
  title.flags = CTrackText::kVisible | CTrackText::kCentered;
  title.y = 300;
  CTrackText& author = settings.Text(CDocumentSettings::kAuthor);
  author.text = "John Dowland";
  author.font.pointSize.cx = 160;
  author.flags = CTrackText::kVisible | CTrackText::kCentered;
  author.y = 380;
  settings.Text(CDocumentSettings::kSource).text = "after the print of 1604";
  settings.Text(CDocumentSettings::kSource).flags = CTrackText::kVisible | CTrackText::kCentered;
  settings.Text(CDocumentSettings::kSource).y = 430;
  CRTFTrackText& formatted = settings.titlePage.formattedTitle;
  formatted.text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\qc\\i\\fs28 Seaven Teares "
                   "figured in seaven passionate Pavans\\i0\\par\\fs20 set forth for the Lute\\par}";
  formatted.SetDefaultRect(0, 520, 400, 160);
  // Centred across the page as the title-page view lays them out (zoom-100 screen pixels).
  RecordingDevice screen(96, false, PangoTextEngine::Shared());
  CenterTitleTexts(settings, screen, 0, 0, 794, 1123);

  CTitlePage& titlePage = settings.titlePage;
  titlePage.Text(CTitlePage::kContentsHeader).text = std::string(CTitlePage::kContentsHeaderText);
  titlePage.printTitlepage = o.preliminaries ? 1 : 0;
  titlePage.frameStyle = 2;
  titlePage.printContents = 1;
  titlePage.useRtf = 1;
  titlePage.pageNumbers = 1;
  titlePage.dateStamp = 1;
  titlePage.printPreface = 1;
  titlePage.preface.text =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\qc\\b\\fs32 Preface\\b0\\par"
      "\\pard\\fs24 Seven passionate pavans, here set for the lute in staff notation, with the "
      "facsimiles of the source that follow.\\par}";
  titlePage.imageList.AddImage(o.corpus + "/images/various/hopper.jpg");
  titlePage.imageList.captions.back() = "{\\rtf1\\ansi\\deff0\\pard\\qc\\i Plate 1: the first leaf\\par}";
  titlePage.imageList.AddImage(o.corpus + "/images/various/flower.jpg");
  titlePage.imageList.captions.back() = "{\\rtf1\\ansi\\deff0\\pard\\qc\\i Plate 2: the second leaf\\par}";

  AllTracksChooser chooser;
  const CInstrumentDlg defaultDefinition;
  std::unique_ptr<CSystemArray> imported =
      o.importedSection ? ImportMidiFile(o.corpus + "/midi/test-c-major-scale.mid", chooser, nullptr, defaultDefinition)
                        : nullptr;
  if (imported != nullptr) {
    imported->Title().text = "Scale (from a MIDI file)";
    imported->flags = CSystemArray::kPageBreakAfter;
    doc->AppendSection(std::move(imported));
  }
  for (int32_t k = 0; k < o.notatedSections; ++k) {
    auto section = NotatedSection("Pavan " + std::to_string(k + 1), o.systemsPerSection);
    section->flags = CSystemArray::kPageBreakAfter;
    doc->AppendSection(std::move(section));
  }
  doc->sections.DeleteSection(0);  // the new document's own
  doc->sections.activeSection = 0;
  return doc;
}

}  // namespace vornel::testing
