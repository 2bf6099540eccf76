#include "shell/commands/AreaCommands.h"

#include "document/CVornelTabDoc.h"
#include "shell/commands/PlaybackCommands.h"
#include "view/commands/CommandTable.h"
#include "view/commands/ExportCommands.h"
#include "view/commands/TextImportCommands.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/settings/SettingsCommands.h"
#include "view/settings/TuningCommands.h"
#include "view/titlepage/TitlePageCommands.h"

namespace vornel {

void AddAreaApplicationCommands(view::CommandTable& /*application*/) {
  // One line per area, in the order of the layers.
}

void AddAreaDocumentCommands(view::CommandTable& document, CVornelTabApp& app, CVornelTabDoc& doc,
                             MidiOutStream* viewPlayer) {
  // One line per area, in the order of the layers.
  AddPlaybackCommands(document, app, doc, viewPlayer);  // midi: MIDI files, play commands
  view::RegisterTextImportCommands(document, doc);      // import: ABC, TAB, Tabrite and ft2 files
  view::RegisterExportCommands(document, doc);  // layout: TAB, Braille and MusicXML exports
  view::RegisterFacsimileCommands(document, doc);  // image: facsimiles of the active section
  view::RegisterSettingsCommands(document, doc);   // view: page settings, fonts, information
  view::RegisterTuningCommands(document, doc);     // view: the active instrument's tuning
  view::RegisterTitlePageCommands(document, doc);  // view: the title-page view of the document
}

}  // namespace vornel
