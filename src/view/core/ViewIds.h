#pragma once
// The numbers the score view answers to: its commands (the system's ids, as menus, the ribbon,
// keys, context menus and tests send them), its window timers and its context menus.

#include <cstddef>

namespace vornel::view {

// --- printing
inline constexpr int kPrintSetup = 57606;    // "P&rint Setup..."
inline constexpr int kPrint = 57607;         // "&Print...\tCtrl+P"
inline constexpr int kQuickPrint = 57608;    // "Print the active document using current options"
inline constexpr int kPrintPreview = 57609;  // "Print Pre&view"

// --- pages, systems and sections
inline constexpr int kPageUp = 1060;
inline constexpr int kPageDown = 1062;
inline constexpr int kLinearMode = 1107;
inline constexpr int kAddNewPage = 810;
inline constexpr int kViewSectionsTree = 32638;
inline constexpr int kInsertSystemAfter = 32946;
inline constexpr int kDeleteSystem = 32967;
inline constexpr int kInsertSystemBefore = 33002;
inline constexpr int kResetBarsPerStave = 33049;
inline constexpr int kAutoAdvanceToNextSystem = 33287;
inline constexpr int kDeleteSection = 33299;
inline constexpr int kAddSection = 33300;
// The navigation ids the keyboard console and the key handler send.
inline constexpr int kNavigatePageUp = 32762;
inline constexpr int kNavigatePageDown = 32763;
inline constexpr int kBeginningOfPiece = 32764;
inline constexpr int kPreviousSection = 32766;  // "Previous section (Alt+<-)"
inline constexpr int kNextSection = 32767;      // "Next section (Alt+->)"
inline constexpr int kFindBar = 32768;          // "Find bar number..."
inline constexpr int kPreviousSystem = 32790;   // "Previous system (SHIFT+Enter)"
inline constexpr int kNextSystem = 32791;       // "Next system (Enter)"
inline constexpr int kEndOfPiece = 32765;
// The editing ids the keyboard console and the ribbon send.
inline constexpr int kFormatSystem = 32784;         // "Format system" (F12)
inline constexpr int kDeleteChord = 32785;
inline constexpr int kInsertDynamicSpace = 32786;
inline constexpr int kCursorStepRight = 32794;
inline constexpr int kCursorStepBack = 32795;
inline constexpr int kIncreaseFlagValue = 32796;  // a longer note value
inline constexpr int kDecreaseFlagValue = 32797;  // a shorter note value
inline constexpr int kFirstNoteValue = 32800;     // "Breve" ... the eight note values
// A double click in the sections list; the event's value is the chosen line (-1: none).
inline constexpr int kSectionsListDoubleClick = 59432;

// --- entry modes and display toggles
inline constexpr int kOverwriteMode = 32789;
inline constexpr int kCursorAutoAdvance = 32792;
inline constexpr int kEchoOnUpdate = 33011;
inline constexpr int kColorSyntax = 33406;
inline constexpr int kColoredVoices = 33423;
inline constexpr int kSystemTrackers = 33500;
inline constexpr int kMetaEventsTracing = 33284;  // shows the system trackers' flag

// --- playback
inline constexpr int kPlayMidiFile = 32821;
inline constexpr int kPause = 32825;
inline constexpr int kTempo = 32827;
inline constexpr int kMidiPatch = 32828;

// --- layout
inline constexpr int kPositionTitles = 34233;

// --- window timers
inline constexpr int kPanTimer = 999;          // 10 ms while the middle button pans
inline constexpr int kEchoTimer = 33162;       // 1000 ms: the echo of a typed chord ends
inline constexpr int kTipTimer = 33163;        // 500 or 800 ms: the tip goes
inline constexpr int kLayoutTimer = 998;       // 1 ms while pages of the section are left to measure
inline constexpr int kPanPeriodMs = 10;
inline constexpr int kEchoMs = 1000;
inline constexpr int kLayoutPeriodMs = 1;
// Systems measured at each tick of the layout timer (a few milliseconds' work).
inline constexpr size_t kLayoutSystemsPerTick = 64;

// --- context menus
inline constexpr int kScoreMenu = 695;      // "Properties", "Insert event", "Add ", "Delete", "Clear"
inline constexpr int kSelectionMenu = 702;  // what the selection commands do with the selection

}  // namespace vornel::view
