#include "import/musicxml/vornelelement.h"

#include <utility>

namespace vornel {

namespace {

std::string TagText(std::string_view tagName) {
  std::string text(1, '\\');
  text.append(tagName);
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Parameters and elements

Svornelparam vornelparam::create(std::string_view value, bool quote) { return new vornelparam(std::string(value), quote); }

Svornelparam vornelparam::create(long value, bool quote) { return new vornelparam(std::to_string(value), quote); }

Svornelelement vornelelement::create(std::string_view name, std::string_view separator) {
  return new vornelelement(name, separator);
}

vornelelement::~vornelelement() {
  // Children that only this subtree holds give up their own children before they go, so no
  // destructor runs inside another one more than one level deep.
  std::vector<Svornelelement> pending = std::move(children_);
  while (!pending.empty()) {
    Svornelelement child = std::move(pending.back());
    pending.pop_back();
    if (child && child->refs() == 1) {
      for (Svornelelement& grandchild : child->children_) pending.push_back(std::move(grandchild));
      child->children_.clear();
    }
  }
}

int vornelelement::add(const Svornelelement& child) {
  children_.push_back(child);
  return static_cast<int>(children_.size()) - 1;
}

int vornelelement::add(const Svornelparam& param) {
  params_.push_back(param);
  return static_cast<int>(params_.size()) - 1;
}

const std::string& vornelelement::param(size_t i) const {
  static const std::string none;
  return i < params_.size() && params_[i] ? params_[i]->getValue() : none;
}

Svornelelement vornelelement::flatten() { return this; }

vorneltag::vorneltag(std::string_view tagName) : vornelelement(TagText(tagName), " ", "(", ")") {}

Svornelelement vorneltag::create(std::string_view tagName) { return new vorneltag(tagName); }

vornelchord::vornelchord() : vornelelement("", ", ", "{", " }") {}

Svornelelement vornelchord::create() { return new vornelchord(); }

Svornelelement vornelchord::flatten() {
  if (getName() == "Score") return nullptr;
  setName("chord");
  return vornelelement::create("chord");
}

vornelseq::vornelseq(int staff) : vornelelement("staff", " ", "[", " ]") {
  add(vornelparam::create(staff, true));
}

Svornelelement vornelseq::create(int staff) { return new vornelseq(staff); }

Svornelelement vornelseq::flatten() {
  Svornelelement flat = vornelelement::create("staff");
  for (size_t i = 0; i < 5; ++i) flat->add(vornelparam::create(param(i), false));
  return flat;
}

// ---------------------------------------------------------------------------------------------
// Notes

vornelnoteduration::vornelnoteduration(int n, int d, int dotCount)
    : numerator(n),
      denominator(d),
      dots(dotCount),
      packed(static_cast<uint16_t>((d & 0xFF) | ((n & 0x0F) << 8) | ((dotCount & 0x0F) << 12))) {}

NoteStatusTable::Entry* NoteStatusTable::entry(int voice) {
  if (voice < 0 || voice >= kVoices) return nullptr;
  std::optional<Entry>& slot = entries_[static_cast<size_t>(voice)];
  if (!slot) slot.emplace();
  return &*slot;
}

void NoteStatusTable::reset() {
  for (std::optional<Entry>& slot : entries_) {
    if (slot) *slot = Entry{};
  }
}

NoteStatusTable& VoiceNoteStatus() {
  static NoteStatusTable table;
  return table;
}

vornelnote::vornelnote(int voice, std::string_view name, int octave, int16_t pitch,
                       const vornelnoteduration& duration, uint32_t stringWord, std::string_view accidental)
    : vornelelement("", " "),
      pitch_(pitch),
      noteName_(name),
      accidental_(accidental),
      octave_(static_cast<int8_t>(octave)),
      stringWord_(stringWord),
      duration_(duration) {
  NoteStatusTable::Entry* status = VoiceNoteStatus().entry(voice);
  std::string text(name);
  if (!name.starts_with("_")) {
    text += accidental;
    if (name != "empty" && (status == nullptr || status->octave != octave_)) {
      text += std::to_string(octave_);
      if (status != nullptr) status->octave = octave_;
    }
  }
  if (status == nullptr || !status->duration.sameValue(duration)) {
    if (duration.numerator != 1) text.append(1, '*').append(std::to_string(duration.numerator));
    text.append(1, '/').append(std::to_string(duration.denominator));
    if (status != nullptr) status->duration = duration;
  }
  text.append(static_cast<size_t>(std::max(duration.dots, 0)), '.');
  setName(text.substr(0, text.find(' ')));
}

Svornelelement vornelnote::create(int voice, std::string_view name, int octave, int16_t pitch,
                                  const vornelnoteduration& duration, uint32_t stringWord, std::string_view accidental) {
  return new vornelnote(voice, name, octave, pitch, duration, stringWord, accidental);
}

Svornelelement vornelnote::flatten() {
  Svornelelement flat = vornelelement::create("note");
  flat->add(vornelparam::create(pitch_, false));
  flat->add(vornelparam::create(noteName_, false));
  flat->add(vornelparam::create(octave_ + 3, false));
  flat->add(vornelparam::create(accidental_, false));
  flat->add(vornelparam::create(duration_.packed, false));
  flat->add(vornelparam::create(static_cast<long>(stringWord_), false));
  flat->add(vornelparam::create(duration_.numerator, false));
  flat->add(vornelparam::create(duration_.denominator, false));
  flat->add(vornelparam::create(duration_.dots, false));
  return flat;
}

// ---------------------------------------------------------------------------------------------
// Flattening

Svornelelement flattenTree(const Svornelelement& top) {
  Svornelelement out = vornelelement::create("Score");
  if (!top) return out;
  struct Level {
    vornelelement* node;
    size_t next;
  };
  std::vector<Level> path;
  const auto enter = [&](vornelelement* node) {
    if (Svornelelement flat = node->flatten()) out->add(flat);
    if (node->elements().empty()) return;
    path.push_back({node, node->getName() == "tuning" ? node->elements().size() : 0});
  };
  enter(top.get());
  while (!path.empty()) {
    Level& level = path.back();
    if (level.next < level.node->elements().size()) {
      vornelelement* child = level.node->elements()[level.next++].get();
      if (child != nullptr) enter(child);
      continue;
    }
    const std::string& name = level.node->getName();
    Svornelelement close = vornelelement::create(name == "chord" ? "endchord" : name == "staff" ? "endstaff" : "endgroup");
    close->add(vornelparam::create(name, false));
    out->add(close);
    path.pop_back();
  }
  return out;
}

}  // namespace vornel
