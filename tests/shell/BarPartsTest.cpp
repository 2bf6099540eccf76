// The parts of the bars that need no window: the zoom box's lines, the undo list's pointer
// rule, the MIDI sliders of the active line, the pictures of the commands and the frame's
// commands through a stand-in frame.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/events/MIDIControllers.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/bars/CommandIcons.h"
#include "shell/bars/MidiSliders.h"
#include "shell/bars/RibbonTable.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/bars/UndoList.h"
#include "shell/bars/ZoomTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/FrameCommands.h"
#include "shell/commands/Metronome.h"

namespace vornel::bars {
namespace {

TEST(ZoomBox, TwelveLinesFrom75To800With120First) {
  std::vector<std::string> lines;
  for (const int percent : kZoomPercentages) lines.push_back(ZoomLine(percent));
  EXPECT_EQ(lines, (std::vector<std::string>{"75%", "90%", "100%", "120%", "140%", "150%", "175%", "200%", "300%",
                                             "400%", "500%", "800%"}));
  EXPECT_EQ(lines[kDefaultZoomIndex], "120%");
  EXPECT_EQ(ZoomIndexOf(120), kDefaultZoomIndex);
  EXPECT_EQ(ZoomIndexOf(130), std::nullopt);
  const std::pair<const char*, std::optional<int>> typed[] = {
      {"130%", 130}, {" 130 %", 130}, {"130", 130}, {"10", 10}, {"800%", 800},
      {"9", std::nullopt}, {"801", std::nullopt}, {"", std::nullopt}, {"%", std::nullopt}, {"1e3", std::nullopt},
  };
  for (const auto& [text, percent] : typed) EXPECT_EQ(ReadZoomText(text), percent) << text;
}

TEST(UndoList, HoverSelectsUpToThePointerAndCountsIt) {
  struct Case {
    int item;
    int selected;
    const char* label;
  };
  const Case cases[] = {{2, 3, "Undo 3 Actions"}, {0, 1, "Undo 1 Actions"}, {4, 5, "Undo 5 Actions"},
                        {-1, 0, ""},              {5, 0, ""}};
  for (const Case& c : cases) {
    const UndoHover hover = HoverUndoList(c.item, 5);
    EXPECT_EQ(hover.selected, c.selected) << c.item;
    EXPECT_EQ(hover.label, c.label) << c.item;
    // A click takes exactly the steps selected.
    EXPECT_EQ(ChosenSteps(hover), c.selected) << c.item;
  }
  // An empty list takes nothing.
  EXPECT_EQ(ChosenSteps(HoverUndoList(0, 0)), 0);
  EXPECT_EQ(UndoListLines({"Paste section", "", "Copy voice"}),
            (std::vector<std::string>{"Paste section", kUnnamedAction, "Copy voice"}));
}

TEST(MidiSliders, FollowTheActiveLinesDefinition) {
  MIDIControllers midi;
  midi.volume = 120;
  midi.pan = 10;
  midi.equalizer = -80;  // beyond the balance slider: shown at its end
  midi.reverb = 400;
  std::map<int, SliderSetting> byId;
  for (const SliderSetting& setting : MidiSliderSettings(midi)) byId[setting.id] = setting;
  EXPECT_EQ(byId.size(), 12u);
  EXPECT_EQ(byId.count(33971), 0u);
  EXPECT_EQ(byId.count(33976), 0u);
  EXPECT_EQ(byId[33965].value, 120);
  EXPECT_EQ(byId[33969].value, 10);
  EXPECT_EQ(byId[33973].value, 127);
  EXPECT_EQ(byId[kBalanceSlider], (SliderSetting{kBalanceSlider, -64, -64, 64}));
  EXPECT_EQ(byId[33978], (SliderSetting{33978, 0, 0, 127}));

  CVornelTabDoc empty;
  EXPECT_TRUE(ActiveLineSliderSettings(empty).empty());
  CVornelTabDoc doc;
  doc.OnNewDocument();
  ASSERT_NE(doc.GetActiveInstrument(), nullptr);
  doc.GetActiveInstrument()->definition->midi.volume = 33;
  const std::vector<SliderSetting> settings = ActiveLineSliderSettings(doc);
  ASSERT_EQ(settings.size(), 12u);
  EXPECT_EQ(settings.front(), (SliderSetting{33965, 33, 0, 127}));
}

// Every button the ribbon and the bars show: elements, group buttons, the buttons of the tab
// row and the quick-access bar, and the tool bars' buttons (a menu button as minus its menu).
std::vector<int> ButtonIds() {
  std::vector<int> ids;
  for (const RibbonCategory& page : RibbonCategories()) {
    if (page.label == "File") continue;  // the application menu: texts
    for (const RibbonPanel& panel : page.panels) {
      for (const RibbonElement& element : panel.elements) {
        if (element.kind == RibbonKind::kButtonGroup) {
          for (const RibbonItem& item : element.items) ids.push_back(item.id);
        } else if (element.kind == RibbonKind::kLargeButton || element.kind == RibbonKind::kButton) {
          ids.push_back(element.id != 0 ? element.id : -element.menu);
        }
      }
    }
  }
  for (const ToolbarDefinition& bar : ToolbarDefinitions()) {
    for (const ToolbarButton& button : bar.buttons) ids.push_back(button.id);
  }
  for (const QuickButton& button : QuickAccessButtons()) ids.push_back(button.id);
  std::erase_if(ids, [](int id) { return id == kSeparator || id == kZoomComboCommand || id == 0; });
  return ids;
}

TEST(CommandIcons, EveryButtonHasAPictureOfTheThemeOrTheMusicFont) {
  EXPECT_EQ(IconFor(57603).kind, IconKind::kArt);
  EXPECT_EQ(IconFor(57603).art, "wxART_FILE_SAVE");
  EXPECT_EQ(IconFor(33180).kind, IconKind::kGlyph);
  for (const int id : ButtonIds()) {
    const IconSource source = IconFor(id);
    EXPECT_NE(source.kind, IconKind::kBadge) << id << " " << CommandLabel(id);
    if (source.kind == IconKind::kBadge) continue;
    // Its glyph, or the glyph that stands in for a theme's picture, is one the table draws.
    const GlyphMapEntry* entry = FindGlyph(source.role, source.code);
    ASSERT_NE(entry, nullptr) << id;
    EXPECT_EQ(entry->kind, GlyphMapEntry::Kind::kSmufl) << id;
  }
  EXPECT_EQ(BadgeLetters("Copy voice"), "Cv");
  EXPECT_EQ(BadgeLetters("Manage document's facsimiles"), "Md");
  EXPECT_EQ(BadgeLetters("x"), "X");
  EXPECT_EQ(BadgeLetters(""), "?");
}

// The share of pixels with some ink, and whether the corners are clear.
struct Ink {
  double covered = 0;
  bool clearCorners = false;
};
Ink InkOf(const DeviceBitmap& bitmap) {
  int64_t inked = 0;
  const int64_t count = int64_t(bitmap.Width()) * bitmap.Height();
  for (int64_t i = 0; i < count; ++i) inked += (bitmap.Data()[i] >> 24) != 0 ? 1 : 0;
  const uint32_t corner = bitmap.Data()[0] >> 24;
  const uint32_t last = bitmap.Data()[count - 1] >> 24;
  return {static_cast<double>(inked) / static_cast<double>(count), corner == 0 && last == 0};
}

TEST(CommandIcons, PicturesAreDrawnAtTheirSizeOnAClearGround) {
  for (const int size : {16, 24, 32}) {
    const DeviceBitmap glyph = DrawIcon(IconFor(33180), 33180, "Toggle tab/notation", size);
    ASSERT_EQ(glyph.Width(), size);
    ASSERT_EQ(glyph.Height(), size);
    const Ink glyphInk = InkOf(glyph);
    EXPECT_GT(glyphInk.covered, 0.05) << size;
    EXPECT_LT(glyphInk.covered, 0.8) << size;
    EXPECT_TRUE(glyphInk.clearCorners) << size;
    // A command no button shows: its badge.
    const DeviceBitmap badge = DrawIcon(IconFor(99), 99, "Current section settings", size);
    ASSERT_EQ(badge.Width(), size);
    const Ink badgeInk = InkOf(badge);
    EXPECT_GT(badgeInk.covered, 0.5) << size;
    EXPECT_TRUE(badgeInk.clearCorners) << size;
  }
  // A theme's icon that cannot be drawn here gives way to its glyph.
  const Ink standIn = InkOf(DrawIcon(IconFor(57603), 57603, "Save", 16));
  EXPECT_GT(standIn.covered, 0.05);
  EXPECT_LT(standIn.covered, 0.8);
  // The frame styles: more borders, more ink.
  double previous = 0;
  for (int style = 0; style < 4; ++style) {
    const DeviceBitmap picture = DrawFrameStylePicture(style, 24);
    int64_t dark = 0;
    for (int64_t i = 0; i < 24 * 24; ++i) dark += (picture.Data()[i] & 0xFF) < 0x60 ? 1 : 0;
    EXPECT_GT(static_cast<double>(dark) + 0.5, previous) << style;
    previous = static_cast<double>(dark) + 1;
  }
}

// A main window that remembers its switches.
class FakeFrame : public FrameControls, public MetronomeTimer {
 public:
  bool IsOn(FrameSwitch which) const override { return on.count(which) != 0 && on.at(which); }
  void Switch(FrameSwitch which, bool value) override { on[which] = value; }
  size_t DocumentCount() const override { return documents; }
  void ShowWindowsDialog() override { log.push_back("windows"); }
  void ApplyLook(int id) override { log.push_back("look " + std::to_string(id)); }
  void RunPreferences() override { log.push_back("preferences"); }
  void ShowAllPanes() override { log.push_back("all panes"); }
  void SwitchPaletteTab(std::string_view title) override { log.push_back("tab " + std::string(title)); }
  void ShowPaletteMenu() override { log.push_back("palette menu"); }
  void CustomizeToolbars() override { log.push_back("customize"); }
  void FloatMidiToolbar() override { log.push_back("float midi"); }
  void ShowMidiPlaylist() override { log.push_back("play list"); }
  void Start(int) override {}
  void Stop() override {}

  std::map<FrameSwitch, bool> on;
  size_t documents = 0;
  std::vector<std::string> log;
};

TEST(FrameCommands, SwitchesToggleAndShowTheirMarks) {
  MemoryProfile profile;
  CVornelTabApp app(profile);
  FakeFrame frame;
  Metronome metronome(frame);
  view::CommandTable table;
  AddFrameCommands(table, frame, app, metronome);
  const std::pair<int, FrameSwitch> switches[] = {
      {commands::kStatusBar, FrameSwitch::kStatusBar},          {commands::kEditMode, FrameSwitch::kEditMode},
      {commands::kPropertiesView, FrameSwitch::kPropertiesPane}, {commands::kOutputView, FrameSwitch::kOutputPane},
      {commands::kFullScreen, FrameSwitch::kFullScreen},         {commands::kKeyboardConsole, FrameSwitch::kKeyboardConsole},
      {commands::kToggleToolbars, FrameSwitch::kToolbars},       {commands::kToggleRibbon, FrameSwitch::kRibbonPanels},
  };
  for (const auto& [id, which] : switches) {
    EXPECT_EQ(table.State(id).checked, false) << id;
    EXPECT_TRUE(table.Execute({id, std::nullopt, {}})) << id;
    EXPECT_TRUE(frame.IsOn(which)) << id;
    EXPECT_EQ(table.State(id).checked, true) << id;
    EXPECT_TRUE(table.Execute({id, std::nullopt, {}})) << id;
    EXPECT_FALSE(frame.IsOn(which)) << id;
  }
  EXPECT_FALSE(table.State(commands::kWindowsDialog).enabled);
  frame.documents = 1;
  EXPECT_TRUE(table.State(commands::kWindowsDialog).enabled);
  for (const int id : {commands::kCustomize, commands::kFloatMidiToolbar, 216, commands::kSwitchPaletteTab,
                       commands::kMidiPlaylist}) {
    table.Execute({id, std::nullopt, {}});
  }
  EXPECT_EQ(frame.log, (std::vector<std::string>{"customize", "float midi", "look 216", "tab Sections", "play list"}));
}

}  // namespace
}  // namespace vornel::bars
