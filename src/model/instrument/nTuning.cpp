#include "model/instrument/nTuning.h"

#include <algorithm>

#include "model/FloorDivision.h"
#include "model/instrument/PitchNames.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/NumberText.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

// Reference letter (a = 0 ... h = 7) and pitch byte of each course position: a course sounds
// at the first note of its letter at or above the reference.
constexpr std::array<uint8_t, 16> kReferenceLetters = {2, 6, 4, 1, 5, 2, 0, 6, 5, 4, 4, 3, 3, 2, 2, 2};
constexpr std::array<int, 16> kReferencePitches = {37, 32, 29, 24, 18, 13, 10, 8, 6, 5, 5, 3, 3, 1, 1, 1};
// Semitones of the letters a-h counted from a.
constexpr std::array<int, 8> kLetterSemitones = {0, 2, 3, 5, 7, 8, 10, 12};

constexpr uint16_t kPackedLetterMask = 0x07;
constexpr uint16_t kPackedSharp = 0x08;
constexpr uint16_t kPackedFlat = 0x10;
constexpr uint16_t kPackedDown = 0x80;
constexpr int kMaxOctaveMark = 3;
constexpr int kHighestPitchByte = 128;


uint8_t PitchByte(int midiPitch) {
  return static_cast<uint8_t>(std::clamp(midiPitch - kCoursePitchOffset, 0, 255));
}

}  // namespace

std::string GetPitchName(int midiPitch) {
  // Two characters before the octave: a natural is padded with a space.
  std::string name(PitchClassName(midiPitch));
  name.resize(2, ' ');
  return name + FormatInt(FloorDiv(midiPitch, 12));
}

CourseRecord CourseFromPitch(int midiPitch) {
  const std::string_view name = PitchClassName(midiPitch);
  CourseRecord course;
  course.letter = name[0];
  course.accidental = name.size() > 1 ? name[1] : 'n';
  course.octave = static_cast<uint8_t>(std::clamp(FloorDiv(midiPitch, 12), 0, 255));
  course.pitch = PitchByte(midiPitch);
  return course;
}

bool nTuning::operator==(const nTuning& o) const {
  return courses == o.courses && lines == o.lines && stringCount == o.stringCount;
}

size_t nTuning::CoursesInUse() const {
  return static_cast<size_t>(std::clamp<int32_t>(stringCount, 0, static_cast<int32_t>(kMaxCourses)));
}

void nTuning::SetTuning(std::string_view text) {
  courses.fill(CourseRecord{});
  stringCount = ParseTuningText(text);
  ComputePitches();
  if (lines > stringCount) lines = stringCount;
}

int nTuning::ParseTuningText(std::string_view text) {
  packedNotes.fill(0);
  text = text.substr(0, std::min(text.size(), kMaxTuningTextLength));
  const auto following = [&](size_t i) { return i + 1 < text.size() ? text[i + 1] : '\0'; };
  int count = 0;
  for (size_t i = 0; i < text.size() && text[i] != '\n'; ++i) {
    const char lower = (text[i] >= 'A' && text[i] <= 'Z') ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (lower < 'a' || lower > 'h') continue;  // anything else is skipped
    uint16_t packed = static_cast<uint16_t>(lower - 'a');
    char accidental = 'n';
    if (following(i) == '#') {
      packed |= kPackedSharp;
      accidental = '#';
      ++i;
    }
    if (following(i) == 'b') {
      packed |= kPackedFlat;
      accidental = 'b';
      ++i;
    }
    const char mark = following(i);
    if (mark == '+' || mark == '-') {
      const char digit = i + 2 < text.size() ? text[i + 2] : '\0';
      // An octave mark counts 0-3 octaves; the digit itself is then skipped as a step of its own.
      if (digit >= '0' && digit <= '0' + kMaxOctaveMark) {
        packed |= static_cast<uint16_t>((digit - '0') * 32);
        if (mark == '-') packed |= kPackedDown;
        ++i;
      }
    }
    if (count == static_cast<int>(kMaxCourses)) break;
    packedNotes[static_cast<size_t>(count)] = packed;
    courses[static_cast<size_t>(count)].letter = static_cast<char>(lower - 'a' + 'A');
    courses[static_cast<size_t>(count)].accidental = accidental;
    ++count;
  }
  return count;
}

void nTuning::ComputePitches() {
  for (CourseRecord& course : courses) course.pitch = 0;
  for (size_t i = 0; i < CoursesInUse(); ++i) {
    uint16_t& packed = packedNotes[i];
    const int letter = packed & kPackedLetterMask;
    const int reference = kReferenceLetters[i];
    int pitch = kReferencePitches[i] + kLetterSemitones[static_cast<size_t>(letter)] -
                kLetterSemitones[reference];
    if (letter < reference) pitch += 12;
    if (packed & kPackedSharp) pitch += 1;
    if (packed & kPackedFlat) pitch -= 1;
    const int octaves = (packed >> 5) & 0x3;
    pitch += (packed & kPackedDown) ? -12 * octaves : 12 * octaves;
    if (pitch > kHighestPitchByte || pitch < 0) {
      // Outside what a pitch byte holds: say so, keep the course usable.
      Prompts().ShowMessage("Error processing tuning", MessageKind::kError);
      packed &= 0x7F;
      pitch = std::clamp(pitch, 0, 255);
    }
    courses[i].pitch = static_cast<uint8_t>(pitch);
    courses[i].octave = static_cast<uint8_t>((pitch + 24) / 12);
  }
}

int nTuning::CountStrings() const {
  for (size_t i = 0; i < kMaxCourses; ++i) {
    if (courses[i].letter == 0) return static_cast<int>(i);
  }
  return static_cast<int>(kMaxCourses);
}

bool nTuning::SetString(int index, std::string_view noteText, int midiPitch) {
  if (index < 0 || index > stringCount || index >= static_cast<int>(kMaxCourses)) return false;
  CourseRecord& course = courses[static_cast<size_t>(index)];
  course.letter = noteText.size() > 0 ? noteText[0] : 0;
  course.octave = static_cast<uint8_t>(noteText.size() > 1 ? noteText[1] - '0' : 0);
  course.accidental = noteText.size() > 2 && noteText[2] != ' ' ? noteText[2] : 'n';
  course.pitch = PitchByte(midiPitch);
  if (index == stringCount) ++stringCount;
  return true;
}

std::string nTuning::FormatStringWithPitch(int index) const {
  if (index < 0 || index >= static_cast<int>(CoursesInUse())) return {};
  const CourseRecord& course = courses[static_cast<size_t>(index)];
  std::string text;
  if (course.letter != 0 && course.letter != ' ') text += course.letter;
  text += FormatInt(course.octave);
  if (course.accidental != 'n' && course.accidental != ' ' && course.accidental != 0) text += course.accidental;
  return text + "(" + FormatInt(course.pitch + kCoursePitchOffset) + ")";
}

std::string nTuning::GetTuningText() const {
  std::string text;
  for (size_t i = 0; i < CoursesInUse(); ++i) {
    if (courses[i].letter != 0) text += courses[i].letter;
    if (courses[i].accidental != 'n' && courses[i].accidental != 0) text += courses[i].accidental;
  }
  return text;
}

void nTuning::CopyFrom(const nTuning& other) {
  lines = other.lines;
  stringCount = other.stringCount;
  courses = other.courses;
}

bool nTuning::EditTuning() {
  if (!SectionEditors().EditTuning(*this)) return false;
  stringCount = CountStrings();
  return true;
}

void nTuning::SetCoursePitch(int course, int midiPitch) {
  if (course < 0 || course >= static_cast<int>(kMaxCourses)) return;
  courses[static_cast<size_t>(course)] = CourseFromPitch(midiPitch);
}

void nTuning::SetFromPitches(int count, const int* midiPitches) {
  courses.fill(CourseRecord{});
  count = std::max(count, 0);
  const int kept = std::min(count, static_cast<int>(kMaxCourses));
  // The list runs from the lowest course up; more than sixteen keeps the highest sixteen.
  for (int course = 0; course < kept; ++course) courses[static_cast<size_t>(course)] = CourseFromPitch(midiPitches[count - 1 - course]);
  stringCount = kept;
}

std::string nTuning::GetStringLabel(int index) const {
  if (index < 0 || index >= static_cast<int>(kMaxCourses)) return {};
  std::string name = GetPitchName(courses[static_cast<size_t>(index)].pitch + kCoursePitchOffset);
  std::erase(name, ' ');
  return name;
}

void nTuning::Store(ArchiveWriter& ar) const {
  ar.WriteI32(static_cast<int32_t>(CoursesInUse()));
  ar.WriteI32(lines);
  for (size_t i = 0; i < CoursesInUse(); ++i) {
    ar.WriteU8(static_cast<uint8_t>(courses[i].letter));
    ar.WriteU8(courses[i].octave);
    ar.WriteU8(static_cast<uint8_t>(courses[i].accidental));
    ar.WriteU8(courses[i].pitch);
  }
}

void nTuning::Load(ArchiveReader& ar) {
  const int32_t storedCount = ar.ReadI32();
  const int32_t storedLines = ar.ReadI32();
  const size_t count = static_cast<size_t>(std::max(storedCount, 0));
  if (count > ar.Remaining() / 4) ar.Fail(ArchiveErrorCode::kBadCount, "course count beyond the data");
  std::array<CourseRecord, kMaxCourses> read{};
  for (size_t i = 0; i < count; ++i) {
    CourseRecord course;
    course.letter = static_cast<char>(ar.ReadU8());
    course.octave = ar.ReadU8();
    course.accidental = static_cast<char>(ar.ReadU8());
    course.pitch = ar.ReadU8();
    if (course.accidental == ' ') course.accidental = 'n';
    if (i < kMaxCourses) read[i] = course;  // courses beyond sixteen are read past, not kept
  }
  courses = read;
  stringCount = static_cast<int32_t>(std::min(count, kMaxCourses));
  lines = storedLines;
}

tinyxml2::XMLElement* nTuning::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("tuning");
  SetIntAttribute(element, "nb-strings", static_cast<int32_t>(CoursesInUse()));
  SetIntAttribute(element, "lines", lines);
  tinyxml2::XMLElement* strings = doc.NewElement("strings");
  SetIntAttribute(strings, "count", static_cast<int32_t>(CoursesInUse()));
  for (size_t i = 0; i < CoursesInUse(); ++i) {
    const CourseRecord& course = courses[i];
    tinyxml2::XMLElement* string = doc.NewElement("string");
    SetIntAttribute(string, "index", static_cast<int32_t>(i));
    std::string name;
    if (course.letter != 0) name += course.letter;
    name += FormatInt(course.octave);
    if (course.accidental != 0) name += course.accidental;
    SetTextAttribute(string, "name", name);
    SetIntAttribute(string, "note", static_cast<uint8_t>(course.letter));
    SetIntAttribute(string, "octave", course.octave);
    SetIntAttribute(string, "alteration", static_cast<uint8_t>(course.accidental));
    SetIntAttribute(string, "midi-pitch", course.pitch);
    strings->InsertEndChild(string);
  }
  element->InsertEndChild(strings);
  return element;
}

const tinyxml2::XMLElement* nTuning::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "tuning");
  stringCount = static_cast<int32_t>(std::min<uint32_t>(ReadUnsignedAttribute(element, "nb-strings"), kMaxCourses));
  lines = ReadIntAttribute(element, "lines");
  courses.fill(CourseRecord{});
  const tinyxml2::XMLElement* strings = element->FirstChildElement();
  const size_t count = std::min<size_t>(ReadUnsignedAttribute(strings, "count"), kMaxCourses);
  const tinyxml2::XMLElement* string = strings != nullptr ? strings->FirstChildElement() : nullptr;
  for (size_t i = 0; i < count && string != nullptr; ++i, string = string->NextSiblingElement()) {
    courses[i].letter = static_cast<char>(ReadUnsignedAttribute(string, "note"));
    courses[i].octave = static_cast<uint8_t>(ReadUnsignedAttribute(string, "octave"));
    courses[i].accidental = static_cast<char>(ReadUnsignedAttribute(string, "alteration"));
    courses[i].pitch = static_cast<uint8_t>(ReadUnsignedAttribute(string, "midi-pitch"));
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
