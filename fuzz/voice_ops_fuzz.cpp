// The editing operations of voices on a voice read from hostile XML: merging, the two splits,
// the chord transformations, rhythm runs, stave breaks and the clearing commands.

#include <cstddef>
#include <cstdint>
#include <string>

#include "SilentPrompts.h"
#include "model/instrument/CKey.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XmlHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornel;
  static vornel::fuzzing::SilentPrompts silent;
  static ScopedPrompts scope(silent);
  tinyxml2::XMLDocument doc;
  if (doc.Parse(reinterpret_cast<const char*>(data), size) != tinyxml2::XML_SUCCESS) return 0;
  nChordArray voice;
  try {
    voice.ReadXml(doc.FirstChildElement());
  } catch (const XmlTagMismatch&) {
    return 0;
  }
  // Operands from the input's length, so that the corpus reaches other values.
  const int operand = static_cast<int>(size % 13) - 6;

  nChordArray other(voice);
  nChordArray merged(voice);
  merged.MergeVoice(other, 3, 4, operand);

  nChordArray upper;
  nChordArray lower;
  CVoicesArray targets;
  targets.push_back(&upper);
  targets.push_back(&lower);
  voice.SplitIntoNotationVoices(targets, 6, 8);
  voice.SplitByPitch(8, 60 + operand, 2);

  nChordArray working(voice);
  working.TransformChords({{ChordOperation::kArpeggiateDownUp, 2},
                           {ChordOperation::kRotate, operand},
                           {ChordOperation::kShift, operand},
                           {ChordOperation::kTremoloize, operand},
                           {ChordOperation::kRotateFlags, operand},
                           {ChordOperation::kTransposeScale, operand},
                           {ChordOperation::kDotFlags, 0}},
                          CKey());

  voice.DotPairs(0, voice.size(), true);
  voice.SetRhythm(1, voice.size(), operand, 1);
  voice.ScaleRhythm(0, voice.size(), operand > 0);
  if (!voice.empty()) voice.ExpandTicks(static_cast<uint32_t>(size) * 97, voice.size() / 2);
  voice.InsertStaveBreaks(static_cast<size_t>(operand + 6), std::make_shared<nChord>(0x41));
  voice.UpdateTickPositions(4, 4);
  nChordArray range;
  voice.CopyRangeBetweenTicks(range, 0, static_cast<uint32_t>(size));
  voice.FindMarkedRange();
  voice.MarkOffbeatNotes(operand);
  voice.SetStemDirections(71, operand < 0);
  voice.ClearItems(ClearCommand::kPackSlurs);
  voice.DistributeLyrics("a  b\r\nc", 0);
  voice.RemoveEmptyChords(0, voice.size());

  // On a key and a lute.
  static const CTabInstrument lute;
  CKey key;
  key.alterations = static_cast<uint32_t>(size % 8);
  key.bemol = operand < 0;
  CVoicesArray voices;
  voices.push_back(&voice);
  voices.RespellVoices(key);
  voice.RespellAndRestring(0, voice.size(), key, lute);
  voice.MoveNotesToAdjacentString(0, voice.size(), operand < 0 ? -1 : 1, lute);
  for (const auto& e : voice) {
    if (e == nullptr) continue;
    e->notes.ReverseStringOrder(lute);
    e->LayoutFretDiagram(lute, 0, 0, 100, 120, 96, 96);
    e->PlaceOnInstrument(operand + 6, lute, operand < 0, operand + 6, operand + 6);
  }
  voice.AppendTimedNote(static_cast<uint32_t>(size) * 31, static_cast<int>(size % 140), 3, key, "x");
  tinyxml2::XMLDocument out;
  out.InsertEndChild(voice.WriteXml(out));
  return 0;
}
