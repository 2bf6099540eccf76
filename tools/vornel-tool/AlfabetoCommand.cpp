// alfabeto DOC [--autofill TYPE] [--common]: the alfabeto chart of the active line's
// instrument, one chord a line (letter, name, fret per course, "-" for a course not played),
// after filling it as the chart dialog does: --autofill with chords of type 0-10 ("5", "4",
// "6" ...), --common with the common chords.

#include <cstdio>
#include <string>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/voice/TabChordHelpers.h"
#include "view/charts/ChordChartDlg.h"

namespace vornel::tool {

namespace {

void PrintChart(const CTabInstrument& tab) {
  for (char16_t letter = u'A'; letter <= u'['; ++letter) {
    const nChord* chord = tab.alfabeto.FindChordByLetter(letter);
    if (chord == nullptr) continue;
    std::string frets;
    for (int course = 0; course < tab.tuning.stringCount; ++course) {
      std::string fret = "-";
      for (const auto& note : chord->notes) {
        if (note->string == course)
          fret = std::to_string(note->pitch - tab.tuning.courses[static_cast<size_t>(course)].pitch - kCoursePitchOffset);
      }
      frets += (course == 0 ? "" : " ") + fret;
    }
    std::printf("%c\t%s\t%s\n", static_cast<char>(letter), chord->name.c_str(), frets.c_str());
  }
}

int Alfabeto(const CommandArguments& args) {
  if (args.empty()) return PrintUsage("alfabeto");
  int32_t autofill = -1;
  bool common = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--autofill") {
      if (!ReadNumberOption(args, i, 0, static_cast<int32_t>(kChordTypeNames.size()) - 1, autofill))
        return PrintUsage("alfabeto");
    } else if (args[i] == "--common") {
      common = true;
    } else {
      return PrintUsage("alfabeto");
    }
  }
  PrintedPrompts prompts;
  ScopedPrompts scope(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(args[0]);
  if (doc == nullptr) return 1;
  CInstrument* line = doc->GetActiveInstrument();
  if (line == nullptr || line->definition == nullptr) {
    std::fprintf(stderr, "%s: the active line has no instrument\n", args[0].c_str());
    return 1;
  }
  CTabInstrument& tab = line->definition->tabInstrument;
  if (common) FillCommonChords(tab);
  if (autofill >= 0) AutoFillChart(tab, autofill, false);
  PrintChart(tab);
  return 0;
}

const ToolCommand registration("alfabeto", "alfabeto DOC [--autofill TYPE] [--common]",
                               "print the active instrument's alfabeto chart, filled as the chart dialog does",
                               Alfabeto);

}  // namespace

}  // namespace vornel::tool
