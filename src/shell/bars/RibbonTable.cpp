#include "shell/bars/RibbonTable.h"

#include <algorithm>
#include <array>

#include "view/commands/Accelerators.h"

namespace vornel::bars {

namespace {

using Items = std::vector<RibbonItem>;

RibbonElement Large(int id, std::string label, Items items = {}, int menu = 0) {
  return RibbonElement{RibbonKind::kLargeButton, id, std::move(label), menu, std::move(items)};
}
RibbonElement Button(int id, std::string label, int menu = 0, Items items = {}) {
  return RibbonElement{RibbonKind::kButton, id, std::move(label), menu, std::move(items)};
}
RibbonElement Group(Items buttons) { return RibbonElement{RibbonKind::kButtonGroup, 0, {}, 0, std::move(buttons)}; }
RibbonElement Check(int id, std::string label) { return RibbonElement{RibbonKind::kCheckBox, id, std::move(label), 0, {}}; }
RibbonElement Label(std::string label) { return RibbonElement{RibbonKind::kLabel, 0, std::move(label), 0, {}}; }
RibbonElement Slider(int id) { return RibbonElement{RibbonKind::kSlider, id, {}, 0, {}}; }
RibbonItem Separator() { return RibbonItem{}; }

// The label of the "Export..." entry that sends the document to the product's web site.
constexpr const char* kWebSiteExportLabel = "Export to the Vornel web site...";

std::vector<RibbonCategory> BuildCategories() {
  std::vector<RibbonCategory> pages;
  pages.push_back({"File", 16, 32, {
      {"(application menu)", {
          Large(57600, "&New"),
          Large(57601, "&Open..."),
          Large(57603, "&Save"),
          Large(57604, "Save &As...", {{33707, "&ZIP document"}, {33282, "Save As Template..."},
                                       {34265, "Save As a binary *btb document"}}),
          Large(0, "Export...", {{33261, kWebSiteExportLabel}, {32826, "Play MIDI file..."},
                                 {32832, "Export all sections to MIDI..."}, {33046, "Export section to Music XML..."},
                                 {33119, "Export to W. Cripps' Tab format..."},
                                 {33045, "Export section to Braille tab format..."}}),
          Large(0, "Import...", {{32822, "Import a MIDI file..."}, {34301, "Import a MIDI folder..."}, Separator(),
                                 {33280, "Import a W. Cripps Tab file..."}, {33419, "Import a W. Cripps Tab folder..."},
                                 Separator(), {33174, "Import an abc format file..."},
                                 {34232, "Import a MusicXML file..."}, {34259, "Import a GuitarPro file..."}}),
          Large(57607, "&Print", {{0, "Preview and print the document"}, {57608, "&Quick Print"},
                                  {57609, "Print Pre&view"}, {57606, "Print Setup"}}),
          Large(57612, "Sen&d..."),
          Large(57602, "&Close"),
          RibbonElement{RibbonKind::kRecentFiles, 0, "Recent Documents", 0, {}},
          RibbonElement{RibbonKind::kBottomButton, 33296, "Prefe&rences", 0, {}},
          RibbonElement{RibbonKind::kBottomButton, 57665, "E&xit", 0, {}},
      }},
  }});
  pages.push_back({"&Document", 24, 32, {
      {"Actions\nzc", {
          Large(57600, "New document\nv"), Large(57601, "Open document\nv"), Large(57603, "Save document\nv"),
          Large(57602, "Close document\nv"), Large(33070, "Search files\nv"),
      }},
      {"Settings\nzc", {Large(33059, "Book settings\nv"), Large(32966, "Edit title page\nv")}},
      {"Format\nzc", {
          Large(33294, "Page layout\nv"), Large(33407, "Document fonts\nv"), Large(33412, "Reformat all sections\nv"),
          Group({{34252, "Manage document's facsimiles\nzc"}, {34273, "Review associations\nzc"}}),
          Group({{33812, "Apply document template\nzc"}, {33411, "Reformat pages\nRedraw"}}),
      }},
      {"Printing\nzc", {
          Large(57607, "Print document\nv"), Large(57609, "Print preview\nv"), Large(57606, "Print set-up\nv"),
          Check(33520, "Print all sections"),
      }},
      {"Associations\nzc", {
          Large(34211, "View PDF rendition"), Large(33261, "Create HTML Page"), Large(33707, "Create ZIP bundle\nzc"),
      }},
      {"Options\nzc", {Large(33064, "Page texture"), Check(34254, "ON"), Large(34279, "Select palette menu")}},
  }});
  pages.push_back({"&Book Settings", 24, 32, {
      {"Preliminaries\nzc", {
          Large(33059, "Document settings\nv"), Large(33425, "Edit preface\nv"), Large(33501, "Export table of contents"),
      }},
      {"Title page\nzc", {
          Large(32966, "Format title page\nv"), Large(32970, "Title page settings\nv"),
          Large(33426, "Document formatted title\nv"), Large(34076, "Add titlepage image"),
          Large(33178, "Center all titlepage elements"),
      }},
      {"Frame styles", {RibbonElement{RibbonKind::kGallery, 34078, "Frame styles", 0, {}}}},
      {"Print elements\nzc", {
          Check(33520, "Print all sections"), Check(33521, "Print title page"), Check(33522, "Print preface"),
          Check(33523, "Print facsimiles"), Check(33524, "Print table of contents"), Check(33525, "Print RTF contents"),
          Check(33526, "Use columns"), Check(33527, "Include section index"), Check(33528, "Include page numbers"),
      }},
  }});
  pages.push_back({"&Sections", 24, 36, {
      {"Edit Section\nzc", {
          Large(33297, "Current section settings"),
          Group({{33300, "Add a new section"}, {33299, "Delete this section"}, {32638, "View Sections tree\nv"}}),
          Group({{32991, "Copy section"}, {33302, "Paste section"}, {33172, "Move section"}}),
      }},
      {"Copy All\nzc", {
          Large(32987, "Copy sections"), Large(32988, "Paste sections"), Large(34257, "Clear section buffer\nv"),
          Large(34300, "Split parts"),
      }},
      {"Description\nzc", {Large(33427, "Edit section notes"), Large(33118, "Add facsimile image")}},
      {"Instruments\nzc", {
          Large(33288, "Add a new instrument"), Large(33289, "Delete current instrument"),
          Large(33633, "Clone instrument across sections\nv"),
          Group({{33171, "Clean section\nRedraw"}, {33411, "Reformat pages\nRedraw"},
                 {33049, "Set fixed number of bars per staves"}}),
          Group({{33192, "Reset end text font"}, {34089, "Edit end text\nEdit end text"},
                 {33283, "Reset meta-event positions in all sections"}}),
          Group({{33050, "Switch instruments positions\nzc"}, {34233, "Position titles\nPosition section titles"},
                 {33047, "Globally reset staves per page\nzc"}}),
          Group({{810, "Add new blank page"}, {33048, "Delete blank staves"},
                 {34274, "Toggle forced page breaks between sections"}}),
      }},
      {"Navigation\nzc", {
          Large(32768, "Find bar"), Group({{32766, "Previous section"}, {32767, "Next section"}}),
          Group({{32764, "Top of section"}, {32765, "Bottom of section"}}),
          Group({{32790, "Previous stave"}, {32791, "Next stave"}}), Group({{32762, "Page up"}, {32763, "Page down"}}),
      }},
  }});
  const RibbonPanel voicing = {"Voicing operations\nzc", {
      Large(33211, "Parse voices", {{33139, "Remove all beam formatting"}, {33103, "Remove all voicing clues"}}),
      Large(33809, "Create 4-voice staff\n"), Large(33811, "Create grand staff\n"),
  }};
  pages.push_back({"&Instruments", 24, 32, {
      {"Edit", {Large(33010, "Instrument database\nzc"), Large(33181, "Instrument settings\nzc")}},
      {"Copy & Paste", {
          Group({{32980, "Copy instrument"}, {33293, "Clear instrument data"}, {33050, "Switch instrument positions"}}),
          Group({{32984, "Paste instrument as new"}, {32985, "Paste instrument data"},
                 {33200, "Transfer voice to a new instrument"}}),
      }},
      {"Tablature options\nzc", {
          Group({{33180, "Toggle tab/notation"}, {33182, "Tablature font"},
                 {33176, "Reset tablature font across sections\nv"},
                 {33633, "Copy instrument definition across sections\nv"}}),
          Group({{33183, "French tablature\nzc"}, {33185, "Italian tablature\nzc"}, {33184, "Modern tablature\nzc"},
                 {33052, "Recalculate fingerings"}}),
          Group({{33186, "Mixed numbers/letters\nzc"}, {33187, "Guitar beams\nzc"}, {33188, "Glyph position\nzc"}}),
      }},
      {"Tuning & pitch\nzc", {
          Group({{33189, "Instrument tuning"}, {33015, "Change course tuning"}}),
          Group({{33051, "Transpose Instrument\nzc"}, {34275, "Raise/Lower instrument tuning\nzc"}}),
      }},
      {"Tablature flags\nzc", {
          Button(0, "Flag style", 1086), Button(0, "Group style", 1085), Button(0, "Tablature line thickness", 151),
      }},
      {"Global options\nzc", {
          Check(34081, "Close systems"), Check(34082, "Short signatures"), Check(34083, "Hide ornaments"),
          Check(34084, "Show barlines"),
      }},
      {"Marked area\nMarkers", {
          Group({{34226, "Transpose Instrument\nzc"}, {34231, "Marked zone active\nzc"},
                 {34227, "Transpose Instrument\nzc"}}),
          Group({{34228, "Transpose Instrument\nzc"}, {34229, "Transpose Instrument\nzc"},
                 {34230, "Transpose Instrument\nzc"}}),
      }},
      {"Staves\nzc", {Large(34308, "Merged staves\n"), Large(34307, "Grand staff\n")}},
      voicing,
  }});
  RibbonPanel transformVoicing = voicing;
  transformVoicing.elements.push_back(Large(34247, "Export voices to separate instruments\n"));
  transformVoicing.elements.push_back(Large(34261, "Merge instrument voices\n"));
  pages.push_back({"&Transformations", 24, 32, {
      {"Transform selection\nzc", {Large(33253, "Transform selection\nv"), Large(34304, "Add rhythm pattern\nv")}},
      transformVoicing,
      {"Analysis\nzc", {Large(33804, "Run key analysis")}},
  }});
  pages.push_back({"&Chords", 24, 32, {
      {"Manage alfabeto", {
          Group({{32793, "Manage chord charts"}, {33310, "Alfabeto font\nzc"}, {33311, "Show alfabeto\nzc"}}),
          Group({{33303, "Add current chord to alfabeto\nzc"}, {33307, "Edit alfabeto letter\nzc"},
                 {33306, "Raise alfabeto position\nzc"}, {33312, "Remove alfabeto\nConvert alfabeto to chord"}}),
      }},
      {"Alter chord", {
          Group({{33321, "Insert slash chord\nzc"}, {33309, "Baroque strumming\nzc"}}),
          Group({{33304, "Raise chord position\nzc"}, {33305, "Lower chord position\nzc"}}),
      }},
      {"Alfabeto input mode", {
          Check(33393, "Input chord"), Check(33394, "Input chart"), Check(33392, "Input alfabeto letter"),
      }},
      {"Chord effects", {
          Large(33315, "Add a chord effect\nzc"),
          Group({{33313, "Strum up\nzc"}, {33314, "Strum down\nzc"}, {33316, "Slide chord\nzc"},
                 {33317, "Chord bend\nzc"}}),
          Group({{33356, "Add a tremolo\nzc"}, {33357, "Add a tremolo (2)\nzc"}, {33318, "Add an accent\nzc"},
                 {33319, "Add an breath mark\nzc"}}),
      }},
      {"Flags & Layout", {
          Group({{33326, "Hide tab flag\nzc"}, {33327, "Show tab flag\nzc"}, {33329, "Tie tab flag\nzc"},
                 {33328, "Toggle flag groups\nzc"}}),
          Group({{33325, "Offset glyphs\nzc"}, {33334, "Offset left\nzc"}, {33335, "Offset right\nzc"},
                 {33362, "Hide chord\nzc"}}),
      }},
      {"Operations\nzc", {
          Group({{32786, "Insert a chord at cursor position"}, {32787, "Insert a static space across staves"},
                 {33332, "Split chord\nzc"}, {33333, "Split chord and tie notes\nzc"},
                 {32785, "Delete a chord at cursor position"}}),
          Group({{33342, "Name current chord\n"}, {33341, "Add continuo marking\n"}, {32925, "Add a barre\nzc"},
                 {33324, "Draw dynamic chart above chord\nzc"}, {33359, "Mute chord\nzc"}}),
      }},
  }});
  pages.push_back({"&Editing", 24, 32, {
      {"Clipboard\nzc", {
          Group({{57634, "Copy\nc"}, {57635, "Cut\nx"}, {57637, "Paste\nv"}}),
          Group({{32981, "Copy voice"}, {32982, "Copy bar range"}}),
          Group({{57643, "Undo"}, {57644, "Redo"}}),
          Button(0, "Remove all...\nv", 1067),
      }},
      {"Chords\nzc", {
          Group({{32786, "Insert a chord at cursor position"}, {32787, "Insert a left static space across staves"},
                 {32788, "Insert a right static space across staves"}, {32785, "Delete a chord at cursor position"}}),
          Group({{33332, "Split chord"}, {33333, "Split chord and tie notes"}, {34280, "Apply wide slurs"},
                 {34281, "Apply narrow slurs"}}),
      }},
      {"Format\nzc", {Button(33171, "Clean up\nx"), Button(33411, "Reformat section\nx"), Button(32945, "Full screen\nx")}},
      {"Editing modes\nzc", {
          Group({{1107, "Linear mode\nx"}, {33115, "Proportional spacing\nx"}, {33406, "Coloured syntax\nx"}}),
          Group({{32792, "Cursor auto-advance\nx"}, {33011, "Play note on input\nx"},
                 {33500, "View metaevent trackers\nx"}}),
      }},
      {"View mode\nzc", {
          Group({{33213, "Top voice"}, {33214, "Lower voice"}, {33215, "Both voices"}}),
          Group({{33180, "Toggle tab/notation"}, {33210, "Toggle active voice"}, {33423, "View colored voices"}}),
      }},
      {"Spacings\nzc", {
          Group({{1176, "More staves per pages"}, {1175, "Less staves per pages"}}),
          Group({{32769, "Add space below staff"}, {32770, "Decrease space below staff"},
                 {34087, "Reset meta-event positions"}}),
          Group({{33005, "Shift first bar to previous system"}, {33004, "Shift last bar to next system"}}),
          Group({{33007, "Shift last voice bar to next system\nShift last voice bar"},
                 {33006, "Shift first voice bar to previous system\nShift voice bar up"},
                 {32771, "Merge stave with previous one\nzc"}}),
      }},
      {"Systems\nzc", {
          Group({{810, "Add new blank staves"}, {33048, "Delete blank staves"}}),
          Group({{33002, "Insert system before"}, {32946, "Insert system after"}}),
      }},
      {"Hidden Systems\nzc", {
          Group({{32967, "Delete current system"}, {33405, "Delete voice"}, {33292, "Delete staff"}}),
          Group({{33255, "Insert blank system at top"}, {33254, "Show all hidden systems"}, {34085, "Hide system"}}),
      }},
      {"Transformations\nzc", {
          Group({{33194, "Recalculate notation"}, {33143, "Format flag beams\nzc"},
                 {33139, "Remove flag beam formatting"}}),
          Group({{32962, "Double flag values"}, {32961, "Divide flag values"}, {32999, "Delete rests"}}),
      }},
      {"Tools\nzc", {Large(33244, "Keyboard tool\nKeyboard toolbar")}},
      {"Zooming\nzc", {Button(0, "Zoom\nZoom value", 1070)}},
  }});
  pages.push_back({"&MIDI play bar", 24, 32, {
      {"Play\nzc", {
          Large(32826, "MIDI to WAV"), Button(32823, "Play instrument"), Button(32829, "Play active voice"),
          Button(32824, "Play tutti"), Button(32825, "Pause play"), Button(33979, "Mute instrument"),
          Button(32827, "Tempo"), Button(34303, "Run metronome"), Button(34341, "Metronome sound"),
      }},
      {"Export\nzc", {Large(32832, "MIDI All"), Large(33164, "Save to MIDI file"), Large(32833, "Play list")}},
      {"Settings\nzc", {
          Group({{32828, "Select MIDI patch"}, {33986, "Echo\nzc"}, {33987, "Reset default\nzc"}}),
          Button(0, "Transpose\ns", 1072), Check(33964, "Down\nx"),
      }},
      {"Voicing\nzc", {
          Check(33981, "Play ornaments\nx"), Check(33985, "Merge voices\n to same channel"),
          Check(33982, "Resonate\nHold Pedal"), Check(33983, "Enable echo\nil"),
          Check(33984, "Enable octaves\nPlay octaves for diapasons"), Check(33988, "Play repeats\nOn export to MIDI file"),
          Check(33989, "Play metronome clicks\nx"),
      }},
      {"Controllers\nzc", {
          Label("Volume"), Slider(33965), Label("Pan"), Slider(33969), Label("Velocity"), Slider(33967),
          Label("Expression"), Slider(33966), Label("Dynamic amplitude"), Slider(33970), Label("Brightness"),
          Slider(33968),
      }},
      {"Effects\nzc", {
          Label("Reverb level"), Slider(33973), Label("Chorus level"), Slider(33974), Label("Celeste level"),
          Slider(33975), Label("Portamento level"), Slider(33972), Label("Vibrato level"), Slider(33978),
          Label("Bass/Treble balance"), Slider(33977),
      }},
      {"Toolbar\nzc", {Button(33923, "Float toolbar")}},
  }});
  pages.push_back({"&About", 24, 32, {
      {"About\nzc", {
          Large(57664, "About Vornel\nv"), Large(33286, "Vornel Homepage\nv"), Large(0, "Documentation\ns", {}, 1116),
      }},
  }});
  return pages;
}

std::vector<RibbonMenu> BuildMenus() {
  return {
      {213, {{215, "&Blue Style"}, {216, "B&lack Style"}, {217, "&Silver Style"}, {218, "&Aqua Style"},
             {219, "Pale blue"}, {214, "Dithered gray"}}},
      {1070, {{33481, "75%"}, {33482, "100%"}, {33483, "120%"}, {33484, "140%"}, {33485, "150%"}, {33486, "200%"},
              {33487, "400%"}, {33488, "800%"}, {33489, "Fit width"}}},
      {1116, {{34358, "VornelTab"}, {34359, "Document"}, {34360, "Sections"}, {34361, "Instruments"},
              {34362, "Editing"}, {0, "Tables", {{34357, "Keyboard input"}, {34355, "Accelerators"}}},
              {0, "Imports", {{34366, "MIDI"}, {34367, "TAB"}}}}},
      {1072, {{33430, "0"}, {33431, "1/2 step"}, {33432, "1 step"}, {33433, "1 1/2 step"}, {33434, "2 steps"},
              {33435, "2 1/2 steps"}, {33436, "3 steps"}, {33437, "3 1/2 steps"}, {33438, "4 steps"},
              {33439, "4 1/2 steps"}, {33440, "5 steps"}, {33441, "5 1/2 steps"}, {33442, "1 Octave"}}},
      {1067, {{33100, "Fingerings"}, {33101, "Ornaments"}, {33102, "Links"}, {33103, "Voicing cues"},
              {33105, "Clear forced barlines"}, {33104, "Lyrics"}, {33139, "Flag direction switches"},
              {33258, "Metaevents"}, {33106, "Static spaces"}, {34263, "Individual note values"},
              {33107, "Alteration switches"}, {33109, "Dangling floating ornaments"}, {34302, "All sections notes"}}},
      {1086, {{33620, "English"}, {33621, "Italian"}, {33622, "Modern"}, {33623, "Plimsonne"}, {33624, "Tarquen"},
              {33625, "Morvet"}, {33626, "Bramet"}, {33627, "Thick English"}, {33628, "Lunda"}, {33629, "Baroque"},
              {33630, "Quorbel"}, {33631, "Tessamont"}}},
      {1085, {{34091, "Single flags"}, {34092, "Lute beams"}, {34093, "Guitar beams"}, {34094, "No flags"},
              {34095, "Ternary beams"}, {34096, "Baroque groups"}, {34097, "English beams"}}},
      {151, {{34024, "0.05mm"}, {34025, "0.10mm"}, {34026, "0.15mm"}, {34027, "0.20mm"}, {34028, "0.25mm"},
             Separator(), {34029, "Thick..."}}},
  };
}

const std::vector<RibbonMenu>& Menus() {
  static const std::vector<RibbonMenu> menus = BuildMenus();
  return menus;
}

constexpr std::array<std::pair<int, const char*>, 6> kMarkedAreaTips = {{
    {34226, "Begin new marked area"},
    {34227, "Set marked area end"},
    {34228, "Copy marked area"},
    {34229, "Paste marked area"},
    {34230, "Delete marked area"},
    {34231, "Remove selected zone"},
}};

constexpr std::array<const char*, 4> kFrameStyles = {"No border", "Single border", "Double border", "Triple border"};

const char* KindName(RibbonKind kind) {
  switch (kind) {
    case RibbonKind::kLargeButton: return "large";
    case RibbonKind::kButton: return "button";
    case RibbonKind::kButtonGroup: return "group";
    case RibbonKind::kCheckBox: return "check";
    case RibbonKind::kLabel: return "label";
    case RibbonKind::kSlider: return "slider";
    case RibbonKind::kGallery: return "gallery";
    case RibbonKind::kRecentFiles: return "recent";
    case RibbonKind::kBottomButton: return "bottom";
  }
  return "?";
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

void DumpLine(std::string& out, std::string_view page, std::string_view panel, std::string_view kind, int id,
              std::string_view label, int menu) {
  out += Escaped(page);
  out += '\t';
  out += Escaped(panel);
  out += '\t';
  out += kind;
  out += '\t';
  out += id != 0 ? std::to_string(id) : "-";
  out += '\t';
  out += Escaped(label);
  out += '\t';
  if (menu != 0) out += std::to_string(menu);
  out += '\n';
}

void DumpItems(std::string& out, std::string_view page, std::string_view panel, const std::vector<RibbonItem>& items,
               const char* kind) {
  for (const RibbonItem& item : items) {
    if (item.IsSeparator()) {
      DumpLine(out, page, panel, "separator", 0, "", 0);
    } else if (!item.submenu.empty()) {
      DumpLine(out, page, panel, "submenu", 0, item.label, 0);
      DumpItems(out, page, item.label, item.submenu, kind);
    } else {
      DumpLine(out, page, panel, kind, item.id, item.label, 0);
    }
  }
}

template <typename Visit>
void ForEachItem(const std::vector<RibbonItem>& items, const Visit& visit) {
  for (const RibbonItem& item : items) {
    visit(item.id, item.label);
    ForEachItem(item.submenu, visit);
  }
}

// Every (id, label) of the table in its order: pages, menus, tab row, quick access.
template <typename Visit>
void ForEachCommand(const Visit& visit) {
  for (const RibbonCategory& page : RibbonCategories()) {
    for (const RibbonPanel& panel : page.panels) {
      for (const RibbonElement& element : panel.elements) {
        visit(element.id, element.label);
        ForEachItem(element.items, visit);
      }
    }
  }
  for (const RibbonMenu& menu : Menus()) ForEachItem(menu.items, visit);
  for (const QuickButton& button : TabRowButtons()) visit(button.id, button.label);
  for (const QuickButton& button : QuickAccessButtons()) visit(button.id, button.label);
}

}  // namespace

const std::vector<RibbonCategory>& RibbonCategories() {
  static const std::vector<RibbonCategory> pages = BuildCategories();
  return pages;
}

std::span<const RibbonMenu> RibbonMenus() { return Menus(); }

const RibbonMenu* FindRibbonMenu(int id) {
  for (const RibbonMenu& menu : Menus()) {
    if (menu.id == id) return &menu;
  }
  return nullptr;
}

const std::vector<QuickButton>& TabRowButtons() {
  static const std::vector<QuickButton> buttons = {
      {0, "Style\ns", 213, true}, {33296, "Prefe&rences", 0, true},  {33960, "Pin ribbon", 0, true},
      {33014, "View all panes", 0, true}, {0, "Zoom", 1070, true}, {57664, "\na", 0, true},
  };
  return buttons;
}

const std::vector<QuickButton>& QuickAccessButtons() {
  static const std::vector<QuickButton> buttons = {
      {57600, "", 0, false}, {57601, "", 0, false}, {57603, "", 0, true}, {57608, "", 0, true}, {57609, "", 0, false},
  };
  return buttons;
}

std::span<const char* const> FrameStyleNames() { return kFrameStyles; }

std::string_view MarkedAreaToolTip(int id) {
  for (const auto& [tipId, tip] : kMarkedAreaTips) {
    if (tipId == id) return tip;
  }
  return {};
}

std::string DisplayLabel(std::string_view label) {
  const std::string_view shown = label.substr(0, label.find('\n'));
  std::string out;
  for (size_t i = 0; i < shown.size(); ++i) {
    // "&&" is one ampersand; "&" before a letter marks a mnemonic; "Copy & Paste" keeps its own.
    if (shown[i] == '&' && i + 1 < shown.size() && shown[i + 1] != ' ') {
      if (shown[i + 1] == '&') out += shown[++i];
      continue;
    }
    out += shown[i];
  }
  return out;
}

std::string_view LabelTip(std::string_view label) {
  const size_t brk = label.find('\n');
  return brk == std::string_view::npos ? std::string_view() : label.substr(brk + 1);
}

bool IsKeyTip(std::string_view tip) {
  return !tip.empty() && tip.size() <= 2 &&
         std::all_of(tip.begin(), tip.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string ToolTipOf(int id, std::string_view label, bool iconOnly) {
  const std::string_view keys = view::AcceleratorKeys(id);
  const auto withKeys = [keys](std::string text) { return keys.empty() ? text : text + " (" + std::string(keys) + ")"; };
  if (const std::string_view tip = MarkedAreaToolTip(id); !tip.empty()) return withKeys(std::string(tip));
  const std::string shown = DisplayLabel(label);
  std::string_view after = LabelTip(label);
  if (IsKeyTip(after)) after = {};
  if (iconOnly) return after.empty() ? withKeys(shown) : withKeys(shown) + "\n" + std::string(after);
  return withKeys(after.empty() ? shown : std::string(after));
}

std::string CommandLabel(int id) {
  if (id == 0) return {};
  if (const std::string_view tip = MarkedAreaToolTip(id); !tip.empty()) return std::string(tip);
  std::string found;
  ForEachCommand([&](int itemId, const std::string& label) {
    if (found.empty() && itemId == id) found = DisplayLabel(label);
  });
  return found;
}

std::vector<int> RibbonCommandIds() {
  std::vector<int> ids;
  ForEachCommand([&](int id, const std::string&) {
    if (id != 0) ids.push_back(id);
  });
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

std::string RibbonDump() {
  std::string out;
  for (const RibbonCategory& page : RibbonCategories()) {
    for (const RibbonPanel& panel : page.panels) {
      for (const RibbonElement& element : panel.elements) {
        if (element.kind == RibbonKind::kButtonGroup) {
          DumpLine(out, page.label, panel.label, "group", 0, "", 0);
          DumpItems(out, page.label, panel.label, element.items, "small");
          continue;
        }
        DumpLine(out, page.label, panel.label, KindName(element.kind), element.id, element.label, element.menu);
        DumpItems(out, page.label, panel.label, element.items, "item");
        if (element.kind == RibbonKind::kGallery) {
          for (const char* style : kFrameStyles) DumpLine(out, page.label, panel.label, "picture", 0, style, 0);
        }
      }
    }
  }
  for (const QuickButton& button : TabRowButtons()) {
    DumpLine(out, "(tab row)", "", "button", button.id, button.label, button.menu);
  }
  for (const QuickButton& button : QuickAccessButtons()) {
    DumpLine(out, "(quick access)", "", button.shown ? "shown" : "hidden", button.id, "", 0);
  }
  for (const RibbonMenu& menu : Menus()) {
    DumpItems(out, "(menu " + std::to_string(menu.id) + ")", "", menu.items, "item");
  }
  for (const auto& [id, tip] : kMarkedAreaTips) DumpLine(out, "(tool tips)", "", "tip", id, tip, 0);
  return out;
}

}  // namespace vornel::bars
