#include "shell/palettes/PaletteTable.h"

#include <array>

namespace vornel::palettes {

namespace {

constexpr std::string_view N = kNotationFace;
constexpr std::string_view F = kFlagsFace;
constexpr std::string_view G = kFiguresFace;
constexpr std::string_view L = kLetterFace;
constexpr std::string_view T = kTextFace;

constexpr std::array<std::string_view, 32> kOrnamentNames = {
    "Asc. appogiatura",  "Desc. appogiatura",  "Asc. acciaccatura",     "Desc. acciaccatura",
    "Asc. 2-note coulé", "Desc. 2-note coulé", "Asc. double appogiatura", "Desc. double appogiatura",
    "Asc. mordent",      "Desc. mordent",      "Asc. long mordent",     "Desc. long mordent",
    "Asc. roulade",      "Desc. roulade",      "Asc. trill",            "Desc. trill",
    "Asc. 3-note coulé", "Desc. 3-note coulé", "Asc. gruppetto",        "Desc. gruppetto",
    "Asterisk",          "Accent",             "Vibrato",               "Marcato",
    "Pizzicato",         "Harmonic",           "Staccato",              "Legato",
    "Inverted accent",   "Snap down",          "Snap pull",             "Ghost note",
};

// Note values, the dot, the rest and the tuplet kinds.
constexpr PaletteButton kFlags[] = {
    {32800, F, 110, "Breve"},
    {32801, F, 111, "SemiBreve - Round note"},
    {32802, F, 112, "Minim - half note"},
    {32803, F, 113, "Crotchet - quarter note"},
    {32804, F, 114, "Quaver - 8th note"},
    {32805, F, 115, "SemiQuaver - 16th note"},
    {32806, F, 116, "DemiSemiQuaver - 32d note"},
    {32807, F, 117, "Hemidemisemiquaver - 64th note"},
    {32798, N, 0x9A, "Dot "},
    {33008, N, 123, "Rest"},
    {32962, T, 0xD7, "Augment flags"},
    {32961, T, 0xF7, "Divide flags"},
    {33990, T, 't', "Ternary flags (Ctrl+t)"},
    {33991, G, 0x100, "Set binary flags"},
    {33992, G, 0x101, "Set triplet flags"},
    {33993, G, 0x102, "Quintuple group"},
    {33995, G, 0x103, "Sextuples"},
    {33994, G, 0x104, "Septuple"},
    {33361, N, 114, "Toggle flag beam direction (Ctrl+f)"},
};

constexpr PaletteButton kBarLines[] = {
    {32808, G, 0x110, "Forced barline"},
    {32809, G, 0x111, "Section left repeat"},
    {32810, G, 0x112, "Section begin repeat"},
    {32811, G, 0x113, "Section repeat"},
    {32812, G, 0x114, "Section separator"},
    {32813, G, 0x115, "Dotted barline"},
    {32814, G, 0x116, "Bramet repeat"},
    {32815, G, 0x117, "Hidden barline"},
    {32816, G, 0x118, "Thick barline"},
    {32817, G, 0x119, "No repeat"},
    {32818, G, 0x11A, "Double repeat"},
    {32819, G, 0x11B, "Section ending"},
    {32820, T, '#', "No bar number value"},
    {33116, T, 0x2423, "Insert static space"},
    {33240, N, 0x4C, "Insert time signature"},
    {33201, N, 0x22, "Insert clef"},
    {33506, N, 0x96, "Insert key signature"},
    {33242, T, 0xA7, "Special event"},
};

constexpr PaletteButton kMetaEvents[] = {
    {33345, T, 'L', "Lyric"},
    {33343, N, 0xD3, "Legato"},
    {33341, G, '6', "Figured bass"},
    {33340, T, '1', "Endings"},
    {33347, N, 103, "Tempo change"},
    {33401, G, 0x120, "Crescendo"},
    {33346, T, '*', "Add footnote"},
    {33348, T, 0x2197, "Add hyperlink"},
    {33349, G, 0x121, "Stave bracket "},
    {33342, T, 'C', "Name chord"},
    {33352, N, 0x42, "Dynamic legato"},
    {32925, G, 0xC0, "Insert barre"},
    {33353, G, 0x128, "Rasgueado"},
    {33344, T, 'T', "Caption text"},
    {33350, T, 0x266A, "Insert MIDI event"},
    {33351, T, 0x2766, "Graphical ornament"},
    {33360, T, 0x2715, "Delete meta-event"},
};

// The attributes of the note at the cursor.
constexpr PaletteButton kNotation[] = {
    {33120, N, 0x96, "Raise note by a half-step"},
    {33121, N, 0x97, "Lower note by a half-step"},
    {33122, T, 0x2040, "Tie note"},
    {33123, T, 0x2322, "Tied note above"},
    {33124, N, 113, "Reverse note stem direction"},
    {33125, N, 0x98, "Hide alteration"},
    {33126, T, '+', "Extend note duration"},
    {33127, T, 0x2212, "Decrease note duration"},
    {33128, N, 0x10E, "Extend note duration by half"},
    {33129, N, 0x45, "Switch alteration"},
    {33130, T, 0x2460, "Show string number"},
    {33131, N, 0x105, "Harmonic note"},
    {33132, N, 0xF4, "Octaved note"},
    {33133, T, '8', "Octava note"},
    {33134, N, 108, "Small note"},
    {33135, N, 122, "Show rest"},
    {33136, T, ':', "Double dot note"},
    {33137, N, 0x50, "Offset notes in chord"},
    {33138, T, 0x2016, "Double voicing"},
    {33140, T, '/', "Use slanted beams"},
    {33141, T, 0x21C5, "Recalculate notation intervals"},
    {33330, T, 'a', "Toggle smaller font size"},
    {33331, T, 'A', "Toggle bigger font size"},
    {33321, T, 0x2215, "Show chord as slash"},
    {33216, T, 0x2191, "Move notes up a string"},
    {33217, T, 0x2193, "Lower notes down a string"},
};

constexpr PaletteButton kChords[] = {
    {33313, G, 0x127, "Strum up"},
    {33314, G, 0x128, "strum down"},
    {33315, G, 0x125, "Add chord effect"},
    {33317, T, 0x2934, "Bend chord"},
    {33318, N, 0xA8, "Accented chord"},
    {33319, T, ',', "Breath"},
    {33325, T, 0x21C4, "Offset glyphs"},
    {33326, T, 0x2205, "Hide tab flag"},
    {33327, F, 113, "Force flag to show"},
    {33329, T, 0x2312, "Tied tablature flag"},
    {33334, T, 0x2190, "Offset chord left"},
    {33335, T, 0x2192, "Offset chord right"},
    {33356, G, 0x123, "Tremolo"},
    {33357, G, 0x124, "Tremolo 2"},
    {33359, T, 0x2298, "No MIDI output"},
    {33362, T, 0x25CC, "Hide chord"},
    {33322, L, 'a', "Insert alfabeto or chord chart"},
    {33303, T, 'A', "Add chord to alfabeto"},
    {33308, T, 'B', "Toggle alfabeto symbol"},
    {33311, T, 'E', "Show alfabeto chords"},
    {33312, T, 0x2715, "Remove alfabeto value"},
};

// One command inserts every marking; the value says which.
constexpr PaletteButton kDynamics[] = {
    {33400, N, 0xEA, "Dynamics ppp", 0},
    {33400, N, 0xEB, "Dynamics pp", 1},
    {33400, N, 0xEC, "Dynamics p", 2},
    {33400, N, 0xED, "Dynamics mp", 3},
    {33400, N, 0xEE, "Dynamics mf", 4},
    {33400, N, 0xEF, "Dynamics f", 5},
    {33400, N, 0xF0, "Dynamics ff", 6},
    {33400, N, 0xF1, "Dynamics fff", 7},
    {33400, N, 0xF2, "Dynamics fz", 8},
    {33400, N, 0xF3, "Dynamics sf", 9},
    {33400, N, 0xF7, "Dynamics pedal", 10},
    {33401, G, 0x120, "Crescendo"},
    {33318, N, 0xA9, "Accented chord"},
    {32908, N, 0xA8, "Accented note"},
    {32910, N, 0xB9, "Marcato"},
    {32913, N, 0x9A, "Staccato"},
};

// Slurs, ties and note shapes of the note at the cursor.
constexpr PaletteButton kPhrasing[] = {
    {32834, T, 0x2715, "Delete slur"},
    {32835, T, 0x2322, "One step slur"},
    {32836, T, 0x21E5, "Increase slur horizontal step"},
    {32837, T, 0x2193, "One step down slur"},
    {32838, T, 0x2191, "One step up slur"},
    {32839, T, 0x21C5, "Toggle link position"},
    {32840, T, 0x21E4, "Decrease slur horizontal step"},
    {32841, T, 0x223C, "Toggle straight/curved line style"},
    {32842, T, 0x2699, "Configure  slur"},
    {32843, T, 0x2323, "Horizontal slur above note"},
    {32844, T, 0x203F, "Wide ligature"},
    {32845, T, 'H', "Hammer"},
    {32846, T, 'P', "Pull off"},
    {32847, T, 0x2572, "Slide"},
    {32848, N, 0xD3, "Tenuto"},
    {32849, N, 0x42, "Distortion"},
    {32850, N, 0x41, "Bend down"},
    {32851, T, 0x21E0, "Offset note left"},
    {32852, T, 0x21E2, "Offset note right"},
    {32853, T, 0x2261, "Detached notes"},
    {32854, T, '\\', "Reverse slash"},
    {32855, T, '_', "Horizontal dash below"},
    {32856, T, '|', "Long vertical dash"},
    {32857, N, 0xB5, "Staccatto"},
    {32858, T, '[', "Square editorial brackets"},
    {32859, T, '{', "Curly editorial brackets"},
    {32860, T, 0x25CB, "Transparent note"},
    {32861, T, 0x2605, "Melody note"},
    {33090, T, 0x2322, "View slur bar [F9]"},
};

// Decorations 0-23 and 56-58 of the note at the cursor.
constexpr PaletteButton kFingerings[] = {
    {32863, G, '0', "Open string"},
    {32864, G, '1', "Left hand fingering: index finger"},
    {32865, G, '2', "Left hand fingering: medium finger"},
    {32866, G, '3', "Left hand fingering: third finger"},
    {32867, G, '4', "Left hand fingering: fourth finger"},
    {32868, T, 'T', "Left hand fingering: thumb"},
    {32869, T, 0x2501, "Extended action"},
    {32870, F, 0xF0, "Left dot"},
    {32871, F, 0xF1, "Right hand: index"},
    {32872, T, 0x2219, "Right dot"},
    {32873, N, 0xBA, "Right hand: medium finger"},
    {32874, T, 0x2025, "Two dots below"},
    {32875, T, ':', "Right colon"},
    {32876, F, 0xF3, "Three dots left"},
    {32877, F, 0xEF, "Right hand: third finger"},
    {32878, F, 0xF4, "right hand: thumb"},
    {32879, N, 0xA6, "Plectrum up"},
    {32880, N, 0xA7, "Plectrum down"},
    {32881, G, 'p', "Right hand fingering: Pouce"},
    {32882, G, 'i', "Right hand fingering: Index"},
    {32883, G, 'm', "Right hand fingering: Majeur"},
    {32884, G, 'a', "Right hand fingering: Annulaire"},
    {32885, N, 0xAB, "Tap right"},
    {32886, N, 0xAA, "Tap"},
    {32919, T, 'c', "Little finger"},
    {32920, N, 0xD8, "Bow down"},
    {32921, N, 0xAD, "Bow up"},
};

// The palette commands first, then one button per ornament kind.
constexpr PaletteButton kOrnaments[] = {
    {34074, T, 0x2699, "Customize ornaments table"},
    {34157, N, 0xC4, "Insert grace notes"},
    {32924, T, 0x273B, "Floating ornament"},
    {32887, G, 64, kOrnamentNames[0]},   {32888, G, 65, kOrnamentNames[1]},   {32889, G, 66, kOrnamentNames[2]},
    {32890, G, 67, kOrnamentNames[3]},   {32891, G, 68, kOrnamentNames[4]},   {32892, G, 69, kOrnamentNames[5]},
    {32893, G, 70, kOrnamentNames[6]},   {32894, G, 71, kOrnamentNames[7]},   {32895, G, 72, kOrnamentNames[8]},
    {32896, G, 73, kOrnamentNames[9]},   {32897, G, 74, kOrnamentNames[10]},  {32898, G, 75, kOrnamentNames[11]},
    {32899, G, 76, kOrnamentNames[12]},  {32900, G, 77, kOrnamentNames[13]},  {32901, G, 78, kOrnamentNames[14]},
    {32902, G, 79, kOrnamentNames[15]},  {32903, G, 80, kOrnamentNames[16]},  {32904, G, 81, kOrnamentNames[17]},
    {32905, G, 82, kOrnamentNames[18]},  {32906, G, 83, kOrnamentNames[19]},  {32907, G, 84, kOrnamentNames[20]},
    {32908, G, 85, kOrnamentNames[21]},  {32909, G, 86, kOrnamentNames[22]},  {32910, G, 87, kOrnamentNames[23]},
    {32911, G, 88, kOrnamentNames[24]},  {32912, G, 89, kOrnamentNames[25]},  {32913, G, 90, kOrnamentNames[26]},
    {32914, G, 91, kOrnamentNames[27]},  {32915, G, 92, kOrnamentNames[28]},  {32916, G, 93, kOrnamentNames[29]},
    {32917, G, 94, kOrnamentNames[30]},  {32918, G, 95, kOrnamentNames[31]},
};

constexpr PaletteButton kDiapasons[] = {
    {32930, T, 0x2460, "First bourdon"},   {32931, T, 0x2461, "Second bourdon"},
    {32932, T, 0x2462, "Third bourdon"},   {32933, T, 0x2463, "Fourth bourdon"},
    {32934, T, 0x2464, "Fifth bourdon"},   {32935, T, 0x2465, "Sixth bourdon"},
    {32936, T, 0x2466, "Seventh bourdon"}, {32937, T, 0x2467, "Eighth bourdon"},
    {32938, T, 0x2715, "Delete bourdon"},  {32939, L, 'b', "First fret on bourdon"},
    {32940, L, 'c', "Second fret on bourdon"},
};

constexpr PaletteButton kPedals[] = {
    {33150, G, '1', "Pedal 1"},          {33151, G, '2', "Pedal 2"},
    {33152, G, '3', "Pedal 3"},          {33153, G, '4', "Pedal 4"},
    {33154, G, '5', "Pedal 5"},          {33155, G, '6', "Pedal 6"},
    {33156, T, 0x2196, "Left knee left"}, {33157, T, 0x2197, "Left knee right"},
    {33158, T, 0x2199, "Right knee left"}, {33159, T, 0x2198, "Right knee right"},
    {33160, T, 0x2715, "Delete pedal events"},
};

constexpr PaletteButton kBrackets[] = {
    {33336, T, '[', "Chord bracket left"},
    {33337, T, ']', "Chord bracket right"},
    {33338, G, 0x121, "Bracket chord"},
    {33349, G, 0x122, "Stave bracket "},
    {32858, T, 0x27E6, "Square editorial brackets"},
    {32859, T, '{', "Curly editorial brackets"},
    {33354, T, 0x2AFD, "Break beam group"},
    {33355, T, 0x2040, "Force group tie"},
    {33328, T, 0x2237, "Toggle chord groups"},
    {33363, T, 0x2571, "Toggle note beam slope"},
    {33139, T, 0x2298, "Remove all note beam formatting"},
    {33143, T, 0x2261, "Globally format flag beams"},
};

constexpr PaletteInfo kPalettes[] = {
    {"Flags", 33819, "Flag values", 488, 28, kFlags},
    {"Bar lines", 33820, "Bar line options", 458, 24, kBarLines},
    {"Metaevents", 33821, "Meta-events options", 730, 24, kMetaEvents},
    {"Notation", 33822, "Notation options", 355, 24, kNotation},
    {"Chords", 33823, "Chord options", 430, 24, kChords},
    {"Dynamics", 33824, "Dynamics values", 1079, 24, kDynamics},
    {"Phrasing", 33826, "Phrasing options", 436, 24, kPhrasing},
    {"Fingerings", 33827, "Fingering options", 728, 24, kFingerings},
    {"Ornaments", 33828, "Ornament options", kOrnamentPaletteResource, 24, kOrnaments},
    {"Diapasons", 33829, "Diapasons options", 736, 24, kDiapasons},
    {"Pedals", 33830, "Pedal settings", 358, 24, kPedals},
    {"Brackets", 33831, "Brackets", 1083, 24, kBrackets},
};

}  // namespace

std::span<const PaletteInfo> AllPalettes() { return kPalettes; }

std::span<const PaletteInfo> PanePalettes(int pane) {
  return std::span<const PaletteInfo>(kPalettes).subspan(pane == kLowerPane ? kPalettesPerPane : 0, kPalettesPerPane);
}

const PaletteInfo* PaletteForCommand(int command) {
  for (const PaletteInfo& palette : kPalettes) {
    if (palette.command == command) return &palette;
  }
  return nullptr;
}

std::span<const std::string_view> OrnamentNames() { return kOrnamentNames; }

}  // namespace vornel::palettes
