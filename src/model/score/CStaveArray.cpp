#include "model/score/CStaveArray.h"

#include <algorithm>
#include <array>

#include "model/instrument/CInstrumentDlg.h"
#include "model/OwnedArrayRecords.h"
#include "model/Scaling.h"
#include "model/score/StaveRenderer.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/MulDiv.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

constexpr int32_t kLineGrip = 30;  // device units above a line that still select it

}  // namespace

CStaveArray::CStaveArray() = default;

CStaveArray::CStaveArray(CInstrumentDlg& definition) : emptyCaption_(kUnnamedCaption) {
  lines.push_back(std::make_unique<CInstrument>(definition));
}

CStaveArray::~CStaveArray() = default;

const SystemCaption& CStaveArray::EmptyCaption(uint8_t kind) {
  static const std::array<SystemCaption, kEmptyCaptionKinds> empties = [] {
    std::array<SystemCaption, kEmptyCaptionKinds> made;
    for (uint8_t k = 0; k < kEmptyCaptionKinds; ++k) {
      if ((k & kUnnamedCaption) == 0) made[k].captionText.descriptor = std::string(kCaptionName);
      if ((k & kPictureCaptionBelow) != 0) made[k].captionPicture.captionPlacement = DIBornament::kCaptionBelow;
    }
    return made;
  }();
  return empties[kind];
}

SystemCaption& CStaveArray::EditCaption() {
  if (caption_ == nullptr) caption_ = std::make_unique<SystemCaption>(EmptyCaption(emptyCaption_));
  return *caption_;
}

void CStaveArray::DropEmptyCaption() {
  if (caption_ == nullptr) return;
  for (uint8_t kind = 0; kind < kEmptyCaptionKinds; ++kind) {
    if (*caption_ == EmptyCaption(kind)) {
      caption_.reset();
      emptyCaption_ = kind;
      return;
    }
  }
}

void CStaveArray::RebuildLines(const std::vector<CInstrumentDlg*>& definitions) {
  lines.clear();
  for (CInstrumentDlg* definition : definitions) {
    lines.push_back(definition != nullptr ? std::make_unique<CInstrument>(*definition) : std::make_unique<CInstrument>());
  }
}

bool CStaveArray::HasNoMusic() const {
  return std::all_of(lines.begin(), lines.end(), [](const auto& line) { return line == nullptr || line->IsEmpty(); });
}

size_t CStaveArray::GetMaxChordCount() const {
  size_t most = 0;
  for (const auto& line : lines.items()) {
    if (line != nullptr) most = std::max(most, line->Voices().LongestVoice());
  }
  return most;
}

int32_t CStaveArray::MeasureLines(DeviceContext* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  area = {left, top, right, bottom};
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(dc);
  int32_t total = 0;
  for (const auto& line : lines.items()) {
    if (line == nullptr) continue;
    if (line->definition != nullptr && line->definition->visible == 0) continue;
    Rect rect{left, ScaleTruncated(int64_t{top} + total, 1, 1), right, bottom};
    line->LayoutAndDraw(*measuring, rect, 0, 0, 0, 0, 0);
    total = ScaleTruncated(int64_t{total} + line->GetHeight(), 1, 1);
  }
  area.bottom = ScaleTruncated(int64_t{area.top} + total, 1, 1);
  return total;
}

int CStaveArray::HitTestLine(int32_t x, int32_t y) {
  const Point point{x, y};
  // The first column's letters and the top course's stand half out of the system's area, to
  // the left and above: the system takes what its lines' grip takes there.
  Rect reach = area;
  reach.top -= kLineGrip;
  reach.left -= kLineGrip;
  if (!reach.Contains(point)) return 0;
  for (size_t i = lines.size(); i-- > 0;) {
    CInstrument* line = lines.at(i);
    if (line == nullptr) continue;
    Rect grip = line->lineRect;
    grip.top -= kLineGrip;
    grip.left -= kLineGrip;
    if (grip.Contains(point)) {
      activeInstrument = static_cast<int32_t>(i);
      return line->HitTestStave(x, y);
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Binary form

void CStaveArray::Store(ArchiveWriter& ar) const {
  const std::string& version = ar.Version();
  ar.WriteObjectArray(lines.items());
  if (!VersionAtLeast(version, "6.59")) return;
  const SystemCaption& caption = Caption();
  caption.captionPicture.Store(ar);
  if (VersionAbove(version, "9.51")) caption.captionText.Store(ar);
  if (VersionAbove(version, "9.6.5.7")) caption.rtfBox.Store(ar);
  ar.WriteU32(positionWord);
  ar.WriteI32(leftIndents);
  ar.WriteI32(rightIndents);
  ar.WriteI32(hidden);
  ar.WriteI32(nameInstruments);
  ar.WriteI32(area.left);
  ar.WriteI32(area.top);
  ar.WriteI32(area.right);
  ar.WriteI32(area.bottom);
  ar.WriteI32(activeInstrument);
  ar.WriteText(caption.captionString);
  ar.WriteI32(barSequenceRestart);
  ar.WriteI32(printTuning);
}

void CStaveArray::Load(ArchiveReader& ar) {
  LoadArrayOfParts(ar, lines);
  if (!ar.VersionAtLeast("6.59")) return;
  SystemCaption& caption = EditCaption();
  caption.captionPicture.Load(ar);
  if (ar.VersionAbove("9.51")) caption.captionText.Load(ar);
  if (ar.VersionAbove("9.6.5.7")) caption.rtfBox.Load(ar);
  positionWord = ar.ReadU32();
  leftIndents = SaneStoredLength(ar.ReadI32());
  rightIndents = SaneStoredLength(ar.ReadI32());
  hidden = ar.ReadI32();
  nameInstruments = ar.ReadI32();
  Rect stored;
  stored.left = ar.ReadI32();
  stored.top = ar.ReadI32();
  stored.right = ar.ReadI32();
  stored.bottom = ar.ReadI32();
  area = stored;
  if (ar.VersionAtLeast("7.9")) activeInstrument = ar.ReadI32();
  if (ar.VersionAtLeast("9.175")) caption.captionString = ar.ReadText();
  if (ar.VersionAtLeast("9.6.5.9")) {
    barSequenceRestart = ar.ReadI32();
    printTuning = ar.ReadI32();
  }
  DropEmptyCaption();
}

// ---------------------------------------------------------------------------------------------
// XML form

tinyxml2::XMLElement* CStaveArray::WriteXml(tinyxml2::XMLDocument& doc, int32_t index) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out, index); });
}

void CStaveArray::WriteXml(XmlSink& out, int32_t index) const {
  tinyxml2::XMLDocument& doc = out.Document();
  out.Open("system");
  out.Int("index", index);
  out.Int("active-instrument", activeInstrument);
  out.Int("bar-sequence-restart", barSequenceRestart);
  out.Int("print-tuning", printTuning);

  out.Open("stave-layout");
  out.Int("left-indents", leftIndents);
  out.Int("right-indents", rightIndents);
  out.Int("hidden", hidden);
  out.Int("name-instruments", nameInstruments);
  out.Open("area");
  out.Int("left", area.left);
  out.Int("right", area.right);
  out.Int("top", area.top);
  out.Int("bottom", area.bottom);
  out.Close();
  out.Close();

  const SystemCaption& caption = Caption();
  out.Open("texts");
  out.Open("caption");
  if (!caption.captionText.text.empty()) {
    CTrackText written = caption.captionText;
    written.text = caption.captionString;
    out.Element(written.WriteXml(doc));
    out.Element(caption.captionText.font.WriteXml(doc));
  }
  out.Close();
  out.Element(caption.rtfBox.WriteXml(doc, "rtf-text-box"));
  out.Element(caption.captionPicture.WriteXml(doc));
  out.Close();

  out.Open("instruments");
  out.Int("count", static_cast<int32_t>(lines.size()));
  for (const auto& line : lines.items()) {
    if (line != nullptr) {
      line->WriteXml(out);
    } else {
      CInstrument().WriteXml(out);
    }
  }
  out.Close();
  out.Close();
}

const tinyxml2::XMLElement* CStaveArray::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "system");
  activeInstrument = ReadIntAttribute(element, "active-instrument");
  barSequenceRestart = ReadIntAttribute(element, "bar-sequence-restart");
  printTuning = ReadBoolAttribute(element, "print-tuning") ? 1 : 0;

  const tinyxml2::XMLElement* layout = element->FirstChildElement();
  if (layout != nullptr) {
    leftIndents = SaneStoredLength(ReadIntAttribute(layout, "left-indents"));
    rightIndents = SaneStoredLength(ReadIntAttribute(layout, "right-indents"));
    hidden = ReadBoolAttribute(layout, "hidden") ? 1 : 0;
    nameInstruments = ReadBoolAttribute(layout, "name-instruments") ? 1 : 0;
    if (const tinyxml2::XMLElement* a = layout->FirstChildElement()) {
      // Where the system was drawn last, in pixels: kept within what any page can hold so that
      // the drawing's sums on it stay in range.
      constexpr int32_t kFarthest = 1 << 24;
      area.left = std::clamp(ReadIntAttribute(a, "left"), -kFarthest, kFarthest);
      area.right = std::clamp(ReadIntAttribute(a, "right"), -kFarthest, kFarthest);
      area.top = std::clamp(ReadIntAttribute(a, "top"), -kFarthest, kFarthest);
      area.bottom = std::clamp(ReadIntAttribute(a, "bottom"), -kFarthest, kFarthest);
    }
  }

  const tinyxml2::XMLElement* texts = layout != nullptr ? layout->NextSiblingElement() : nullptr;
  if (texts != nullptr) {
    SystemCaption& caption = EditCaption();
    const tinyxml2::XMLElement* first = texts->FirstChildElement();
    const tinyxml2::XMLElement* box = nullptr;
    if (first != nullptr && std::string_view(first->Name()) == "track-text") {
      box = caption.captionText.ReadXml(first);  // older documents: the caption text alone
    } else if (first != nullptr) {
      if (const tinyxml2::XMLElement* text = first->FirstChildElement()) {
        caption.captionText.font.ReadXml(caption.captionText.ReadXml(text));
        caption.captionString = caption.captionText.text;
      }
      box = first->NextSiblingElement();
    }
    if (box != nullptr) {
      if (const tinyxml2::XMLElement* picture = caption.rtfBox.ReadXml(box)) caption.captionPicture.ReadXml(picture);
    }
    DropEmptyCaption();
  }

  const tinyxml2::XMLElement* instruments =
      ExpectChildElement(texts != nullptr ? texts->NextSiblingElement() : nullptr, "instruments");
  lines.clear();
  const int32_t count = ReadIntAttribute(instruments, "count");
  const tinyxml2::XMLElement* child = instruments->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    auto line = std::make_unique<CInstrument>();
    child = line->ReadXml(child);
    lines.push_back(std::move(line));
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
