#include "model/instrument/CAlfabeto.h"

#include <memory>

#include "model/events/CMetaEvent.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

CAlfabeto::CAlfabeto(const CAlfabeto& other) { CopyFrom(other); }

CAlfabeto& CAlfabeto::operator=(const CAlfabeto& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

void CAlfabeto::CopyFrom(const CAlfabeto& other) {
  letterFont = other.letterFont;
  showAlfabeto = other.showAlfabeto;
  chart = other.chart;
}

void CAlfabeto::RemoveAllChords() { chart.DeleteChords(); }

nChord* CAlfabeto::FindChordByLetter(char16_t letterCode, size_t* index) const {
  for (size_t i = 0; i < chart.size(); ++i) {
    nChord* chord = chart[i];
    if (chord == nullptr) continue;
    const CMetaEvent* event = chord->metaEvents.Find(CMetaEvent::kAlfabeto);
    if (event != nullptr && static_cast<char16_t>(event->value) == letterCode) {
      if (index != nullptr) *index = i;
      return chord;
    }
  }
  return nullptr;
}

char16_t CAlfabeto::ProposeLetter() const {
  for (char16_t candidate = u'A'; candidate <= u'Z'; ++candidate) {
    if (FindChordByLetter(candidate) == nullptr) return candidate;
  }
  return kLetterAfterZ;
}

char16_t CAlfabeto::NormalizeLetter(char16_t typed) {
  if (typed == u'+') return u'[';
  if (typed >= u'a' && typed <= u'z') typed = static_cast<char16_t>(typed - u'a' + u'A');
  return typed >= u'A' && typed <= u'\\' ? typed : 0;
}

nChord* CAlfabeto::AssignChord(char16_t letterCode, const nChord& chord) {
  size_t existing = 0;
  if (FindChordByLetter(letterCode, &existing) != nullptr) {
    if (Prompts().Ask("Do you want to replace the existing chord chart?", Buttons::kOkCancel, MessageKind::kQuestion,
                      "Letter is already assigned") != Answer::kOk) {
      return nullptr;
    }
    chart.erase(existing);
  }
  auto copy = std::make_unique<nChord>(chord);
  if (CMetaEvent* event = copy->metaEvents.Find(CMetaEvent::kAlfabeto)) {
    event->value = letterCode;
  } else {
    copy->metaEvents.SetMetaEvent(CMetaEvent::kAlfabeto, description, letterCode, 0, 0);
  }
  copy->name = description;
  copy->status = nChord::kChord;
  return chart.push_back(std::move(copy));
}

void CAlfabeto::Store(ArchiveWriter& ar) const {
  letterFont.Store(ar);
  chart.Store(ar);
  ar.WriteU32(static_cast<uint32_t>(showAlfabeto));
}

void CAlfabeto::Load(ArchiveReader& ar) {
  letterFont.Load(ar);
  chart.Load(ar);
  showAlfabeto = ar.ReadI32();
}

tinyxml2::XMLElement* CAlfabeto::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("alfabeto");
  SetIntAttribute(element, "show-alfabeto", showAlfabeto);
  element->InsertEndChild(letterFont.WriteXml(doc));
  tinyxml2::XMLElement* definitions = doc.NewElement("chord-definitions");
  int32_t count = 0;
  for (const auto& chord : chart) {
    if (chord == nullptr) continue;
    definitions->InsertEndChild(chord->WriteXml(doc));
    ++count;
  }
  SetIntAttribute(definitions, "count", count);
  element->InsertEndChild(definitions);
  return element;
}

const tinyxml2::XMLElement* CAlfabeto::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "alfabeto");
  RemoveAllChords();
  showAlfabeto = ReadIntAttribute(element, "show-alfabeto");
  const tinyxml2::XMLElement* font = element->FirstChildElement();
  if (font == nullptr) return element->NextSiblingElement();
  const tinyxml2::XMLElement* definitions = letterFont.ReadXml(font);
  const uint32_t count = ReadUnsignedAttribute(definitions, "count");
  const tinyxml2::XMLElement* event = definitions != nullptr ? definitions->FirstChildElement() : nullptr;
  // The count never reads beyond the elements that are there.
  for (uint32_t i = 0; i < count && event != nullptr; ++i) {
    auto chord = std::make_unique<nChord>();
    event = chord->ReadXml(event);
    chart.push_back(std::move(chord));
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
