#include "layout/dialogs/LyricsEditor.h"

#include <algorithm>

#include "platform/text/FieldRanges.h"
#include "layout/dialogs/MetaEventDialogs.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

nChord* ItemAt(const nChordArray* voice, int index) {
  if (voice == nullptr || index < 0 || static_cast<size_t>(index) >= voice->size()) return nullptr;
  return voice->at(static_cast<size_t>(index));
}

}  // namespace

std::string LyricsToShown(const std::string& text) {
  std::string shown = text;
  std::replace(shown.begin(), shown.end(), '\r', '+');
  return shown;
}

std::string LyricsFromShown(const std::string& shown) {
  std::string text = shown;
  std::replace(text.begin(), text.end(), '+', '\r');
  return text;
}

void CLyricsDlg::From(const CMetaEvent& e, bool lower, const dfLogFont& lyricsFont, nChordArray* editedVoice) {
  text = LyricsToShown(e.text);
  spacing = ReadLineByte(e.value, lower);
  border = (e.cx & 0x2) != 0;
  shaded = (e.cx & 0x4) != 0;
  font = lyricsFont;
  voice = editedVoice;
  edited = &e;
  index = 0;
  eventGone = false;
  if (voice == nullptr) return;
  for (size_t i = 0; i < voice->size(); ++i) {
    const nChord* item = voice->at(i);
    if (item == nullptr) continue;
    for (const auto& m : item->metaEvents) {
      if (m.get() == &e) {
        index = static_cast<int>(i);
        return;
      }
    }
  }
  int first = 0;
  if (voice->SeekChord(first) != nullptr) index = first;
}

std::string CLyricsDlg::Validate() const {
  if (text.size() > kMaxText) return "Lyrics: at most 250 characters";
  return CheckFieldRanges({{"Spacing", spacing, -16, 16}});
}

void CLyricsDlg::To(CMetaEvent& e, bool lower) {
  StoreText();
  if (eventGone) return;
  e.cx = (border ? 2 : 0) | (shaded ? 4 : 0);
  e.value = StoreLineByte(e.value, lower, spacing);
}

bool CLyricsDlg::CanGoNext() const { return voice != nullptr && index + 1 < static_cast<int>(voice->size()); }
bool CLyricsDlg::CanGoPrevious() const { return voice != nullptr && index > 0; }

void CLyricsDlg::StoreText() {
  nChord* item = ItemAt(voice, index);
  if (item == nullptr || !item->IsChord()) return;
  const std::string stored = LyricsFromShown(text);
  if (CMetaEvent* lyric = item->metaEvents.Find(CMetaEvent::kLyrics)) {
    lyric->text = stored;
  } else if (!stored.empty()) {
    item->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, stored, 0, 0, 0);
  }
}

void CLyricsDlg::LoadText() {
  const nChord* item = ItemAt(voice, index);
  const CMetaEvent* lyric = item != nullptr ? item->metaEvents.Find(CMetaEvent::kLyrics) : nullptr;
  text = lyric != nullptr ? LyricsToShown(lyric->text) : std::string();
}

bool CLyricsDlg::Next() {
  if (voice == nullptr) return false;
  StoreText();
  int next = index + 1;
  if (voice->SeekChord(next) == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  index = next;
  LoadText();
  return true;
}

void CLyricsDlg::MoveBackFrom(int start) {
  if (voice == nullptr) return;
  int previous = start;
  if (voice->SeekChordBackward(previous) == nullptr) return;
  index = previous;
  LoadText();
}

bool CLyricsDlg::Previous() {
  if (voice == nullptr) return false;
  StoreText();
  const int before = index;
  MoveBackFrom(index - 1);
  return index != before;
}

void CLyricsDlg::ProcessLine() {
  if (voice == nullptr) return;
  voice->DistributeLyrics(LyricsFromShown(text), static_cast<size_t>(std::max(index, 0)));
  text.clear();
  index = 1;
  MoveBackFrom(index - 1);
}

void CLyricsDlg::ClearAll() {
  if (voice == nullptr) return;
  // Only the lyrics go: the voice's other events (legatos, endings, tempi ...) stay.
  for (size_t i = 0; i < voice->size(); ++i) {
    nChord* item = voice->at(i);
    if (item == nullptr) continue;
    for (const auto& m : item->metaEvents) {
      if (m.get() == edited) m->kind = CMetaEvent::kDeleteMe;
    }
    item->metaEvents.RemoveKind(CMetaEvent::kLyrics);
  }
  text.clear();
  eventGone = true;
  MoveBackFrom(index);
}

void CLyricsDlg::ResetPositions() {
  if (voice == nullptr) return;
  for (size_t i = 0; i < voice->size(); ++i) {
    nChord* item = voice->at(i);
    if (item == nullptr || !item->IsChord()) continue;
    if (CMetaEvent* lyric = item->metaEvents.Find(CMetaEvent::kLyrics)) lyric->ResetLocation();
  }
}

void CLyricsDlg::AlignAll() {
  const nChord* current = ItemAt(voice, index);
  const CMetaEvent* model = current != nullptr ? current->metaEvents.Find(CMetaEvent::kLyrics) : nullptr;
  if (model == nullptr) return;
  for (size_t i = 0; i < voice->size(); ++i) {
    nChord* item = voice->at(i);
    if (item == nullptr || !item->IsChord()) continue;
    CMetaEvent* lyric = item->metaEvents.Find(CMetaEvent::kLyrics);
    if (lyric != nullptr && lyric != model) lyric->ResetLocation(model);
  }
}

}  // namespace vornel
