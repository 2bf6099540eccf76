// The "staff" element reader on hostile XML: the voice that was read is then cut into bars,
// numbered, aligned with a copy of itself and written again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "SilentPrompts.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XmlHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts silent;
  static vornel::ScopedPrompts scope(silent);
  tinyxml2::XMLDocument doc;
  if (doc.Parse(reinterpret_cast<const char*>(data), size) != tinyxml2::XML_SUCCESS) return 0;
  vornel::nChordArray voice;
  try {
    voice.ReadXml(doc.FirstChildElement());
  } catch (const vornel::XmlTagMismatch&) {
    return 0;
  }
  vornel::nChordArray copy(voice);
  vornel::CVoicesArray voices;
  voices.push_back(&voice);
  voices.push_back(&copy);
  voices.SetTimeSignatureAndRebar(nullptr, 3, 4);
  vornel::CBarArray bars;
  voice.NumberBars(0, bars);
  voices.AlignVoices(voices.barLength);
  tinyxml2::XMLDocument out;
  out.InsertEndChild(voice.WriteXml(out));
  return 0;
}
