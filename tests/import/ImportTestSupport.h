#pragma once
// Helpers of the import tests: MusicXML documents written to temporary files, flat tag lists
// walked into a section, and a compact text of the walked voices.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "import/musicxml/TagListText.h"
#include "model/score/CSystemArray.h"
#include "musicxml/MxTestSupport.h"

namespace vornel::testing {

// A file in a folder of its own, removed with the object.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::string_view name = "score.xml") {
    folder_ = std::filesystem::temp_directory_path() /
              ("vornel-import-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / name).string();
    std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~TempFile() {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path folder_;
  std::string path_;
};

// A partwise score: the declaration, the document type and `body` inside "score-partwise".
inline std::string Score(std::string_view body) {
  return MusicXML2::testing::Document("<score-partwise version=\"2.0\">" + std::string(body) + "</score-partwise>");
}

// A section with one definition per name (the import's definitions), not yet walked.
inline std::unique_ptr<CSystemArray> SectionOfParts(const std::vector<std::string>& names) {
  std::vector<PartRecord> parts;
  for (const std::string& name : names) {
    PartRecord part;
    part.name = name;
    parts.push_back(part);
  }
  return MakeImportSection(parts);
}

// Walks the tag list written as text into `section`; returns the warnings.
inline std::string WalkText(CSystemArray& section, std::string_view text) {
  std::ostringstream warnings;
  ScopedImportWarnings scope(warnings);
  const Svornelelement list = TagListFromText(text);
  MusicXMLTagWalk walk(section);
  walk.Walk(*list);
  return warnings.str();
}

// One line per event: "|" and the status of a bar line ("s" of a special event) with its flag
// word, or "q" and the low byte of a chord's rhythm word (value, dot, tuplet) and "stem" for
// its stem bit; then the notes (pitch, course, interval, slur, status) and the meta-events
// (kind, text, value, cx, cy). What bar cutting adds to chords is left out.
inline std::string DumpVoice(const nChordArray& voice) {
  std::string out;
  for (const auto& e : voice) {
    if (e == nullptr) {
      out += "null\n";
      continue;
    }
    std::ostringstream line;
    if (e->IsChord()) {
      line << "q " << (e->rhythm & 0xFF);
      if (e->status & 0x80) line << " stem";
    } else {
      line << (e->IsBarLine() ? "| " : "s ") << e->status;
      if (e->rhythm != 0) line << " flags " << e->rhythm;
    }
    for (const auto& n : e->notes) {
      line << " [" << int(n->pitch) << " c" << int(n->string) << " i" << int(n->interval);
      if (n->slur != 0) line << " slur " << n->slur;
      if (n->status != 0) line << " status " << n->status;
      line << "]";
    }
    for (const auto& m : e->metaEvents) {
      line << " {" << int(m->kind) << " '" << m->text << "' " << m->value << " " << m->cx << " " << m->cy << "}";
    }
    out += line.str() + "\n";
  }
  return out;
}

}  // namespace vornel::testing
