// TAB text written by the export and read again by the import: every note of a chord, bass
// courses included, the dot, the hidden flag and the kind of every bar line come back; what the
// text cannot hold is said.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "import/ImportWarnings.h"
#include "import/tab/TabImport.h"
#include "import/tab/TabImporter.h"
#include "layout/export/CTabProperties.h"
#include "layout/export/DocumentExports.h"
#include "model/voice/TabTextReport.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

using Lines = std::vector<std::string>;

// Every event of a section that the TAB text carries: chords with their rhythm word, mark,
// fermata and each note's course, pitch, ornament and fingering; bar lines with their kind
// and whether they are counted; time signatures.
Lines Carried(const CSystemArray& section) {
  Lines out;
  for (const nChord* e : Events(section)) {
    if (e->IsBarLine()) {
      out.push_back("bar " + std::to_string(e->status & 0xFFF3) + (e->rhythm == nChord::kSkipNumber ? " skip" : ""));
      continue;
    }
    if (!e->IsChord()) {
      const CMetaEvent* meter = e->metaEvents.Find(CMetaEvent::kTimeSignature);
      if (meter != nullptr) out.push_back(std::to_string(meter->cx) + "/" + std::to_string(meter->cy));
      continue;
    }
    std::string text = std::to_string(Rhythm(*e)) + " m" + std::to_string(e->ChordMark());
    if (e->metaEvents.Find(CMetaEvent::kFermata) != nullptr) text += " F";
    std::vector<std::string> notes;
    for (const auto& note : e->notes) {
      notes.push_back(std::to_string(note->string) + "@" + std::to_string(note->pitch) + "/" +
                      std::to_string(note->ornament) + "/" + std::to_string(note->fingering));
    }
    std::sort(notes.begin(), notes.end());
    for (const std::string& n : notes) text += " " + n;
    out.push_back(text);
  }
  return out;
}

class TabRoundTripTest : public ::testing::Test, public TextImportTest {
 protected:
  // Imports the file's text; returns the sections it added.
  std::vector<const CSystemArray*> Import(const std::string& name, const std::string& text) {
    const std::string path = dir.File(name);
    WriteText(path, text);
    const size_t before = doc.sections.size();
    const size_t added = ImportTabFile(path, doc);
    std::vector<const CSystemArray*> sections;
    for (size_t s = before; s < before + added; ++s) sections.push_back(&Section(s));
    return sections;
  }
  // The TAB text of every section from `first` on, as the export writes it.
  std::string Export(size_t first, size_t count, TabTextReport& report) {
    std::string text;
    for (size_t s = first; s < first + count; ++s) {
      CTabProperties options;
      text += BuildTabFile(doc, s, options, &report);
      text += "\n";
    }
    return text;
  }
  // Imports `text`, exports what it gave and imports that: both give the same events.
  void ExpectRoundTrip(const std::string& name, const std::string& text) {
    SCOPED_TRACE(name);
    const std::vector<const CSystemArray*> first = Import(name, text);
    ASSERT_FALSE(first.empty()) << (prompts.messages.empty() ? "" : prompts.messages.back());
    TabTextReport report;
    const std::string written = Export(doc.sections.size() - first.size(), first.size(), report);
    EXPECT_EQ(report.Describe(), "");
    const std::vector<const CSystemArray*> second = Import("again-" + name, written);
    ASSERT_EQ(second.size(), first.size()) << written;
    for (size_t s = 0; s < first.size(); ++s) {
      const Lines before = Carried(*first[s]);
      const Lines after = Carried(*second[s]);
      EXPECT_EQ(after.size(), before.size()) << written;
      // The first event that differs, with its neighbours.
      for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before[i] == after[i]) continue;
        ADD_FAILURE() << "section " << s << " event " << i << ": " << after[i] << " instead of " << before[i]
                      << (i > 0 ? " after " + before[i - 1] : std::string());
        break;
      }
      EXPECT_EQ(second[s]->Title().text, first[s]->Title().text);
    }
  }

  TempDir dir;
};

TEST_F(TabRoundTripTest, ChordsOfEveryKindComeBack) {
  struct Case {
    std::string name;
    std::string text;
  };
  for (const Case& c : {
           // Two and three notes on the bass courses, one of them open past the tenth course.
           Case{"bass.tab", "{Bass}\nb\n1a     a/a\nx  c   a a\n1a    a  a4\nx     a //a\n1a     N11\nb\n"},
           // Dotted chords with fingering, after dotted and plain ones; a dot after "x".
           Case{"dots.tab", "b\n1.a.\n2 \\2c\n1.a\\1c\n1.\\3a\n2.d:\nb\n"},
           // Flags kept for their value and not printed; a fermata; a rest.
           Case{"flags.tab", "b\n1!a\nx!c\n2!.d\nYa\n1\nb\n"},
           // Every kind of bar line the import reads, and a time signature.
           Case{"bars.tab", "b\n1a\nbb\n1a\n.bb.\n1a\nbX\nS3/4\n1a\nx\nx\nB\n"},
       }) {
    ExpectRoundTrip(c.name, c.text);
  }
}

TEST_F(TabRoundTripTest, EveryCorpusFileComesBack) {
  const std::vector<std::string> files = CorpusFiles("tab", ".tab");
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    ExpectRoundTrip(std::filesystem::path(path).filename().string(), *ReadImportFile(path));
  }
}

TEST_F(TabRoundTripTest, WhatTheTextCannotHoldIsSaid) {
  ASSERT_EQ(Import("tune.tab", "b\n1a\nb\n").size(), 1u);
  CSystemArray& section = Last();
  nChordArray& voice = section.System(0)->Line(0)->firstVoice;
  // A repeat bar of a kind the text has no line for; a chord greyed; a fret of two digits.
  voice.push_back(std::make_shared<nChord>(0x91));
  auto greyed = std::make_shared<nChord>(static_cast<uint16_t>(nChord::kGreyedMark << 8), 3);
  voice.push_back(greyed);
  TabTextReport report;
  const std::string text = Export(doc.sections.size() - 1, 1, report);
  EXPECT_EQ(report.barLines, 1u);
  EXPECT_EQ(report.marks, 1u);
  EXPECT_EQ(TabExportLossMessage(report),
            "The TAB text holds everything but: 1 bar line of a kind TAB text has no line for, 1 mark TAB text has "
            "no sign for.");
}

}  // namespace
}  // namespace vornel::testing
