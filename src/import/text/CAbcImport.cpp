#include "import/text/CAbcImport.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "document/CBriotabDoc.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

void AppendWithBlank(std::string& text, std::string_view more) {
  if (more.empty()) return;
  if (!text.empty()) text += ' ';
  text += more;
}

}  // namespace

CAbcImport::CAbcImport(CBriotabDoc& doc) : doc_(doc) {}

CAbcImport::~CAbcImport() = default;

nChordArray& CAbcImport::LookUpVoice() {
  section_ = doc_.GetActiveSection();
  definition_ = section_->definitions.at(definitionIndex_);
  tablature_ = &definition_->tabInstrument;
  voice_ = &definition_->gathered[0];
  return *voice_;
}

nChord* CAbcImport::LastChord() const {
  if (voice_ == nullptr) return nullptr;
  for (size_t i = voice_->size(); i-- > 0;) {
    nChord* e = voice_->at(i);
    if (e != nullptr) return e->IsChord() ? e : nullptr;
  }
  return nullptr;
}

void CAbcImport::SetSource(const std::string& path) { source_ = std::filesystem::path(path).filename().string(); }

nNotes* CAbcImport::PlaceFret(nChord& chord, int course, int64_t fret) {
  const size_t before = tablature_->tuning.CoursesInUse();
  if (course >= 0 && static_cast<size_t>(course) >= before &&
      EnsureCourses(*tablature_, static_cast<size_t>(course) + 1)) {
    if (coursesAdded_.second == 0) coursesAdded_.first = before + 1;
    coursesAdded_.first = std::min(coursesAdded_.first, before + 1);
    coursesAdded_.second = std::max(coursesAdded_.second, static_cast<size_t>(course) + 1);
  }
  nNotes* note = SetFretOnCourse(chord, *tablature_, course, fret, key_);
  if (note == nullptr) CountImportLoss(kUnplayableNote);
  return note;
}

void CAbcImport::FinishSection() {
  if (section_ == nullptr) return;
  if (const auto [first, last] = coursesAdded_; last > 0) {
    const std::string file = source_.empty() ? std::string("import") : source_;
    ImportWarning(first == last ? "warning: " + file + ": course " + std::to_string(first) +
                                      " added to the instrument for the notes on it"
                                : "warning: " + file + ": courses " + std::to_string(first) + " to " +
                                      std::to_string(last) + " added to the instrument for the notes on them");
    coursesAdded_ = {};
  }
  FinishTextImportSection(*section_, definitionIndex_, key_);
  voice_ = nullptr;
}

void CAbcImport::SetSectionName(std::string_view text) { section_->Title().text = std::string(text); }

void CAbcImport::AppendSectionName(std::string_view text) {
  std::string& name = section_->Title().text;
  if (name == CSystemArray::kNewTitle || name == "Section title") name.clear();
  AppendWithBlank(name, text);
}

void CAbcImport::SetSectionAuthor(std::string_view text) { section_->Author().text = std::string(text); }

void CAbcImport::AppendSectionAuthor(std::string_view text) { AppendWithBlank(section_->Author().text, text); }

void CAbcImport::AppendSectionComment(std::string_view label, std::string_view text) {
  if (text.empty()) return;
  std::string& comments = section_->Comments().text;
  if (!comments.empty() && comments.back() != '\n') comments += '\n';
  comments += label;
  comments += text;
  comments += '\n';
}

}  // namespace vornel
