// The walk of the flat tag list on hostile lists (their text form, one element per line),
// into a section of one to four parts, and the section's finishing. Tags in any order, with
// any parameters, must neither crash nor leave pointers into deleted music.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "SilentPrompts.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/ImportedSection.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "import/musicxml/TagListText.h"
#include "model/score/CSystemArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  static std::ostream nowhere(nullptr);
  static vornel::ScopedImportWarnings quiet(nowhere);
  if (size == 0) return 0;
  const size_t parts = 1 + data[0] % 4;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const vornel::Svornelelement list = vornel::TagListFromText(text, 20000);
  const std::unique_ptr<vornel::CSystemArray> section =
      vornel::MakeImportSection(std::vector<vornel::PartRecord>(parts));
  vornel::MusicXMLTagWalk(*section).Walk(*list);
  vornel::FinishImportedSection(*section, vornel::MusicXMLImport::kEventsPerSystem, vornel::ImportedVoices::kInDefinitions);
  return 0;
}
