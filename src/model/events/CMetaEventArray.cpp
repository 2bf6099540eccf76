#include "model/events/CMetaEventArray.h"

#include <algorithm>

#include "model/instrument/CPedal.h"
#include "model/voice/nNotes.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

bool CMetaEventArray::operator==(const CMetaEventArray& other) const { return ElementsEqual(*this, other); }

CMetaEvent* CMetaEventArray::Find(uint8_t kind) const {
  for (const auto& event : items()) {
    if (event != nullptr && event->kind == kind) return event.get();
  }
  return nullptr;
}

CMetaEvent* CMetaEventArray::SetMetaEvent(uint8_t kind, std::string_view text, uint32_t value, int32_t cx,
                                          int32_t cy) {
  if (CMetaEvent* existing = Find(kind)) {
    existing->text = text;
    existing->value = value;
    existing->cx = cx;
    existing->cy = cy;
    return existing;
  }
  return push_back(std::make_unique<CMetaEvent>(kind, text, value, cx, cy));
}

CMetaEvent* CMetaEventArray::AddPedalEvent(uint32_t pedalIndex) {
  return push_back(std::make_unique<CMetaEvent>(CMetaEvent::kPedal, "", pedalIndex, 0, 0));
}

size_t CMetaEventArray::RemoveKind(uint8_t kind) {
  return RemoveIf([kind](const auto& e) { return e != nullptr && e->kind == kind; });
}

void CMetaEventArray::RemoveNoteEvents(const nNotes& note) {
  RemoveIf([&note](const auto& e) {
    if (e == nullptr) return false;
    if (e->kind == CMetaEvent::kFloatingOrnament) return e->referent == &note;
    return e->kind == CMetaEvent::kGraceNote && (e->value >> 16) == note.pitch;
  });
}

size_t CMetaEventArray::RemoveMarkedForDeletion() { return RemoveKind(CMetaEvent::kDeleteMe); }

size_t CMetaEventArray::RemoveUndrawable() {
  return RemoveIf([](const auto& e) {
    return e != nullptr &&
           (e->kind == CMetaEvent::kDeleteMe || (CMetaEvent::IsTextKind(e->kind) && e->text.empty()));
  });
}

CMetaEvent* CMetaEventArray::DrawAll(const std::function<void(CMetaEvent&)>& draw) {
  RemoveUndrawable();
  CMetaEvent* last = nullptr;
  // By index: a drawing may not add or remove events, but it may mark one for deletion.
  for (size_t i = 0; i < size(); ++i) {
    CMetaEvent* event = at(i);
    if (event == nullptr) continue;
    draw(*event);
    last = event;
  }
  // The last event drawn may have marked itself: then nothing is left to return.
  if (last != nullptr && last->kind == CMetaEvent::kDeleteMe) last = nullptr;
  RemoveMarkedForDeletion();
  return last;
}

CMetaEvent* CMetaEventArray::CopyKindTo(uint8_t kind, CMetaEventArray& target) const {
  const CMetaEvent* source = Find(kind);
  if (source == nullptr && kind == CMetaEvent::kCaption) {
    const auto first = std::find_if(begin(), end(), [](const auto& e) { return e != nullptr; });
    if (first != end()) source = first->get();
  }
  if (source == nullptr) return nullptr;
  return target.push_back(std::make_unique<CMetaEvent>(*source));
}

void CMetaEventArray::CopyAllFrom(const CMetaEventArray& other) {
  if (this == &other) {
    CopyAllFrom(CMetaEventArray(other));
    return;
  }
  for (const auto& e : other) {
    if (e != nullptr) push_back(std::make_unique<CMetaEvent>(*e));
  }
}

void CMetaEventArray::CollectPedals(std::vector<const CPedal*>& out, const CPedalArray& pedals) {
  pedals.CollectPersistent(out);
  RemoveIf([&](const auto& e) {
    if (e == nullptr || e->kind != CMetaEvent::kPedal) return false;
    if (e->value >= pedals.size()) {
      Prompts().ShowMessage("Invalid meta event", MessageKind::kError);
      return true;
    }
    const CPedal* pedal = pedals[e->value];
    if (pedal != nullptr && pedal->persistent == 0 && std::find(out.begin(), out.end(), pedal) == out.end()) {
      out.push_back(pedal);
    }
    return false;
  });
}

CMetaEvent* CMetaEventArray::EditMetaEvent(uint8_t kind, uint32_t value, int view) {
  CMetaEvent* existing = Find(kind);
  if (existing != nullptr && (kind == CMetaEvent::kFermata || kind == CMetaEvent::kDynamicChart)) {
    RemoveKind(kind);
    return nullptr;
  }
  if (existing != nullptr) {
    if (kind == CMetaEvent::kHyperlink) existing->value = value;
    return existing->Edit(view) ? existing : nullptr;
  }
  auto created = std::make_unique<CMetaEvent>(kind, "", kind == CMetaEvent::kEnding ? 0x50200u : value, 0, 0);
  if (!created->Edit(view)) return nullptr;
  return push_back(std::move(created));
}

tinyxml2::XMLElement* CMetaEventArray::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void CMetaEventArray::WriteXml(XmlSink& out) const {
  out.Open("meta-events");
  const auto written = std::count_if(begin(), end(), [](const auto& event) { return event != nullptr; });
  out.Int("count", static_cast<int32_t>(written));
  for (const auto& event : items()) {
    if (event != nullptr) event->WriteXml(out);
  }
  out.Close();
}

const tinyxml2::XMLElement* CMetaEventArray::ReadXml(const tinyxml2::XMLElement* element) {
  clear();
  const int32_t count = ReadIntAttribute(element, "count");
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    auto event = std::make_unique<CMetaEvent>();
    child = event->ReadXml(child);
    push_back(std::move(event));
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
