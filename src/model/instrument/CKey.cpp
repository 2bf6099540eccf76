#include "model/instrument/CKey.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "model/FloorDivision.h"
#include "model/Scaling.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/NumberText.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr int kStepC = 0;
constexpr int kStepF = 3;
constexpr std::array<int, 7> kNaturalSemitones = {0, 2, 4, 5, 7, 9, 11};
// Steps raised by sharps (F C G D A E B) and lowered by flats (B E A D G C F), in order.
constexpr std::array<int, 7> kSharpOrder = {3, 0, 4, 1, 5, 2, 6};
constexpr std::array<int, 7> kFlatOrder = {6, 2, 5, 1, 4, 0, 3};
// Tonic pitch class of a signature with 0-7 flats or sharps.
constexpr std::array<int, 8> kFlatTonics = {0, 5, 10, 3, 8, 1, 6, 11};
constexpr std::array<int, 8> kSharpTonics = {0, 7, 2, 9, 4, 11, 6, 13};
// Chromatic correction by degree above the tonic: plain major, and every other mode word.
constexpr std::array<int, 12> kMajorCorrection = {0, 1, 0, -1, 0, 0, 1, 0, 1, 0, -1, 0};
constexpr std::array<int, 12> kModalCorrection = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, -1, 0};
// The step of a corrected semitone is the first index whose threshold is not below it.
constexpr std::array<int, 8> kSharpThresholds = {1, 3, 4, 6, 8, 10, 12, 13};
constexpr std::array<int, 8> kFlatThresholds = {0, 2, 4, 5, 7, 9, 11, 13};
constexpr std::array<const char*, 7> kModeNames = {"Ionian",     "Dorian",  "Phrygian", "Lydian",
                                                   "Mixolydian", "Aeolian", "Locrian"};
constexpr std::string_view kTonicLetters = "CDEFGAB";


uint16_t AccidentalBits(char accidental) {
  switch (accidental) {
    case 'b': return 1;
    case 'z': return 2;
    case '#': return 4;
    case 'x': return 8;
    default: return 0;
  }
}

}  // namespace

bool CKey::operator==(const CKey& o) const {
  return keyAlterations == o.keyAlterations && transposePitch == o.transposePitch && transpose == o.transpose &&
         mode == o.mode && keyName == o.keyName && bemol == o.bemol && alterations == o.alterations;
}

int CKey::AlterationCount() const { return alterations <= 7 ? static_cast<int>(alterations) : 0; }

int CKey::TonicPitchClass() const {
  const size_t n = static_cast<size_t>(AlterationCount());
  return bemol != 0 ? kFlatTonics[n] : kSharpTonics[n];
}

int CKey::ChromaticCorrection(int pitch) const {
  const size_t degree = static_cast<size_t>(FloorMod(pitch - TonicPitchClass(), 12));
  return mode == 0 ? kMajorCorrection[degree] : kModalCorrection[degree];
}

void CKey::SetSignature(int32_t fifths, bool minor) {
  const int sf = std::clamp(fifths, -7, 7);
  alterations = static_cast<uint32_t>(std::abs(sf));
  bemol = sf <= 0 ? 1 : 0;
  // The tonic is a fifth (four steps) further per sharp.
  keyName = (((minor ? 4 * sf + 5 : 4 * sf) % 7) + 7) % 7;
  const bool sharpTonic = minor ? sf >= 3 : sf >= 6;
  const bool flatTonic = minor ? sf <= -5 : sf <= -2;
  keyAlterations = sharpTonic ? 2 : (flatTonic ? 1 : 0);
  mode = minor ? ((5 << 8) | kMinorBit) : 0;
}

int CKey::GetStepAlteration(int step) const {
  step = FloorMod(step, 7);
  const int n = AlterationCount();
  const auto& order = bemol != 0 ? kFlatOrder : kSharpOrder;
  for (int i = 0; i < n; ++i) {
    if (order[static_cast<size_t>(i)] == step) return bemol != 0 ? -1 : 1;
  }
  return 0;
}

int CKey::StepToPitch(int stepNumber) const {
  const int step = FloorMod(stepNumber, 7);
  return 12 * FloorDiv(stepNumber, 7) + kNaturalSemitones[static_cast<size_t>(step)] + GetStepAlteration(step);
}

char CKey::GetAccidentalChar(int stepNumber, int pitch) const {
  const int inKey = StepToPitch(stepNumber);
  if (inKey == pitch) return 0;
  switch (GetStepAlteration(stepNumber) + pitch - inKey) {
    case -2: return 'z';
    case -1: return 'b';
    case 0: return 'n';
    case 1: return '#';
    case 2: return 'x';
    default: return 0;
  }
}

int CKey::SpellPitch(int pitch, uint16_t& packedName, char& accidental, bool respell) const {
  const int octave = FloorDiv(pitch, 12);
  const int r = pitch - 12 * octave - ChromaticCorrection(pitch);
  auto thresholds = bemol != 0 ? kFlatThresholds : kSharpThresholds;
  if (bemol != 0 && AlterationCount() > 5) thresholds[2] = 3;
  size_t k = 0;
  while (k + 1 < thresholds.size() && thresholds[k] < r) ++k;
  int stepNumber = octave * 7 + static_cast<int>(k);
  char ch = GetAccidentalChar(stepNumber, pitch);

  if (respell) {
    const int step = FloorMod(stepNumber, 7);
    const bool fromCorF = step == kStepC || step == kStepF;
    switch (ch) {
      case 0: {
        const int keyAlteration = GetStepAlteration(step);
        ch = keyAlteration > 0 ? '#' : (keyAlteration < 0 ? 'b' : 'n');
        break;
      }
      case '#':
      case 'x': {
        ++stepNumber;
        const int above = FloorMod(stepNumber, 7);
        const bool toCorF = above == kStepC || above == kStepF;
        ch = ch == '#' ? (toCorF ? 'n' : 'b') : (toCorF ? '#' : 'n');
        break;
      }
      case 'b':
        --stepNumber;
        ch = fromCorF ? 'n' : '#';
        break;
      case 'z':
        --stepNumber;
        ch = fromCorF ? 'b' : 'n';
        break;
      case 'n':
        if (step == kStepC) {
          --stepNumber;
          ch = '#';
        }
        break;
      default: break;
    }
  }

  packedName = PackedName(stepNumber, ch);
  accidental = ch;
  return stepNumber;
}

uint16_t CKey::PackedName(int stepNumber, char accidental) {
  const int letter = (FloorMod(stepNumber, 7) + 9) % 7;  // counted from A
  // The octave is the step's: B sharp and C flat lie across the octave line from their pitch.
  return static_cast<uint16_t>(letter | ((FloorDiv(stepNumber, 7) & 0x0F) << 4) | (AccidentalBits(accidental) << 8));
}

int CKey::DiatonicSteps(int semitones) {
  static constexpr std::array<int, 12> kSteps = {0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};
  return kSteps[static_cast<size_t>(FloorMod(semitones, 12))] + 7 * FloorDiv(semitones, 12);
}

int CKey::NaturalPitch(int stepNumber) {
  return 12 * FloorDiv(stepNumber, 7) + kNaturalSemitones[static_cast<size_t>(FloorMod(stepNumber, 7))];
}

int CKey::NeedsRespelling(int pitch, int /*step*/, char requested) const {
  const int correction = ChromaticCorrection(pitch);
  return (correction == -1 && requested == '#') || (correction == 1 && requested == '&') ? 1 : 0;
}

std::string CKey::GetModeName() const {
  const size_t index = static_cast<size_t>((mode >> 8) & 0x0F);
  return index < kModeNames.size() ? kModeNames[index] : std::string();
}

std::string CKey::GetKeyLabel() const {
  std::string label;
  label += kTonicLetters[static_cast<size_t>(FloorMod(keyName, 7))];
  if (keyAlterations == 1) label += 'b';
  if (keyAlterations == 2) label += '#';
  label += (mode & kMinorBit) ? 'm' : 'M';
  label.append("[").append(FormatInt(static_cast<int32_t>(alterations))).append(bemol > 0 ? "b]" : "#]");
  return label;
}

std::string CKey::GetKeyDescription() const { return GetKeyLabel() + " " + GetModeName(); }

std::string CKey::GetKeySignatureText() const {
  std::string text;
  text += kTonicLetters[static_cast<size_t>(FloorMod(keyName, 7))];
  if (keyAlterations == 1) text += 'b';
  if (keyAlterations == 2) text += '#';
  if (mode & kMinorBit) text += 'm';
  if (const int n = AlterationCount(); n != 0) text.append(" [").append(FormatInt(n)).append(bemol != 0 ? "b]" : "#]");
  return text;
}

void CKey::Store(ArchiveWriter& ar) const {
  ar.WriteU32(alterations);
  ar.WriteI32(bemol);
  ar.WriteI32(keyName);
  ar.WriteI32(mode);
  ar.WriteI32(transpose);
  ar.WriteI32(transposePitch);
  if (ar.VersionAbove("6.2")) ar.WriteI32(keyAlterations);  // the gate acts on storing too
}

void CKey::Load(ArchiveReader& ar) {
  CKey read = *this;
  read.alterations = ar.ReadU32();
  read.bemol = ar.ReadI32();
  read.keyName = ar.ReadI32();
  read.mode = ar.ReadI32();
  read.transpose = ClampTransposition(ar.ReadI32());
  read.transposePitch = ClampTransposition(ar.ReadI32());
  if (ar.VersionAbove("6.2")) read.keyAlterations = ar.ReadI32();
  *this = read;
}

tinyxml2::XMLElement* CKey::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = AddTextElement(doc, "key", GetKeyDescription());
  SetUnsignedAttribute(element, "alterations", alterations);
  SetIntAttribute(element, "melodic-minor", mode & kMinorBit);
  SetIntAttribute(element, "mode", (mode >> 8) & 0x0F);
  SetIntAttribute(element, "transpose", transpose);
  SetIntAttribute(element, "transpose-pitch", transposePitch);
  SetIntAttribute(element, "key-alterations", keyAlterations);
  SetIntAttribute(element, "bemol", bemol);
  SetIntAttribute(element, "key-name", keyName);
  return element;
}

const tinyxml2::XMLElement* CKey::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "key");
  alterations = ReadUnsignedAttribute(element, "alterations");
  const uint32_t minor = ReadUnsignedAttribute(element, "melodic-minor");
  const uint32_t modeIndex = ReadUnsignedAttribute(element, "mode");
  mode = static_cast<int32_t>(modeIndex * 256u + minor);
  transpose = ClampTransposition(ReadIntAttribute(element, "transpose"));
  transposePitch = ClampTransposition(ReadIntAttribute(element, "transpose-pitch"));
  keyAlterations = ReadIntAttribute(element, "key-alterations");
  bemol = ReadIntAttribute(element, "bemol");
  keyName = ReadIntAttribute(element, "key-name");
  return element->NextSiblingElement();
}

}  // namespace vornel
