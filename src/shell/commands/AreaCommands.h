#pragma once
// The one place where the editor's areas add their commands to the command targets. The main
// frame calls these once at start-up (for the application's table) and once for every document
// as it opens (for that document's table). An area adds a line to AreaCommands.cpp calling a
// function of its own, declared in its own headers, that takes the table (and the document):
//
//   void AddExportCommands(view::CommandTable& table, CVornelTabDoc& doc);   // src/layout/...
//
// An area whose commands read the application's settings takes the application too.
//
// Later entries for an id replace earlier ones, and the router asks the view, the document,
// the child frame, the main frame and the application in that order.

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;
class MidiOutStream;

namespace view {
class CommandTable;
}

// Commands of the areas that need no document (tools, program-wide settings).
void AddAreaApplicationCommands(view::CommandTable& application);
// Commands of the areas that work on one document (exports, imports into it, playback);
// `viewPlayer` is the player of the document's score view, when it has one.
void AddAreaDocumentCommands(view::CommandTable& document, CVornelTabApp& app, CVornelTabDoc& doc,
                             MidiOutStream* viewPlayer = nullptr);

}  // namespace vornel
