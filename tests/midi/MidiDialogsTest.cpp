// The MIDI dialogs as structs: the "MIDI" page's exchange with a definition's settings, the
// echo and octave dialog, the controller event editor, the track chooser's rows and choices,
// and the entries that run them through scripted dialogs.

#include <gtest/gtest.h>

#include "MidiTestSupport.h"
#include "midi/CIMidiDoc.h"
#include "midi/MidiDialogs.h"
#include "midi/MIDIVoiceStream.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// Answers every dialog with OK after a change of its own.
class ScriptedDialogs : public MidiDialogs {
 public:
  bool ChooseGMPatch(CGM_PatchDlg& dialog, MidiOutStream*) override {
    channels.push_back(dialog.channel);
    dialog.selected = patch;
    return ok;
  }
  bool EditMoreControllers(CMoreMidiControlsDlg& dialog) override {
    dialog.echoOn = true;
    dialog.echoChannel = 40;  // kept to a channel
    dialog.echoOctave = -1;
    return ok;
  }
  bool EditControllerEvent(CMidiMetaControl& dialog) override {
    dialog.caption = "cresc.";
    dialog.value = 300;
    return ok;
  }
  bool ChooseTracks(CMidiTrackList& dialog) override {
    ++trackRuns;
    dialog.rows[0].import = !skipAll;
    return ok;
  }
  int patch = 40;
  bool ok = true;
  bool skipAll = false;
  int trackRuns = 0;
  std::vector<int> channels;
};

TEST(MidiDialogsTest, TheMidiPageExchangesEveryFieldAndKeepsMidiValuesInRange) {
  MIDIControllers settings;
  settings.SetDefaults();
  settings.echoOn = 1;
  settings.octaveString = 6;
  MIDIControlsDlg page;
  page.ExchangeSettings(settings, true);
  EXPECT_EQ(page.values, settings);

  page.values.volume = 200;
  page.values.reverb = -5;
  page.values.chorus = 500;
  page.values.transpose = -300;
  page.values.dynamicAmplitude = 150;
  page.values.mute = 1;
  MIDIControllers back;
  page.ExchangeSettings(back, false);
  EXPECT_EQ(back.volume, 127);
  EXPECT_EQ(back.reverb, 0);
  EXPECT_EQ(back.chorus, 127);
  EXPECT_EQ(back.transpose, -127);
  EXPECT_EQ(back.dynamicAmplitude, 100);
  EXPECT_EQ(back.mute, 1);
  EXPECT_EQ(back.octaveString, 6);
  EXPECT_EQ(back.name, settings.name);

  page.values.volume = 1;
  page.Defaults();
  EXPECT_EQ(page.values.volume, 120);
}

TEST(MidiDialogsTest, EntriesRunTheDialogsAndStoreOnlyOnOk) {
  ScriptedDialogs dialogs;
  ScopedMidiDialogs scoped(dialogs);
  MIDIControlsDlg page;
  page.values.patch = 3;
  EXPECT_TRUE(page.ChoosePatch());
  EXPECT_EQ(page.values.patch, 40);
  EXPECT_EQ(page.values.name, "41. Violin");
  EXPECT_TRUE(page.EditEchoAndDiapasons());
  EXPECT_EQ(page.values.echoOn, 1);
  EXPECT_EQ(page.values.echoChannel, 15);
  EXPECT_EQ(static_cast<int8_t>(page.values.echoOctave), -1);

  dialogs.ok = false;
  MIDIControllers untouched;
  EXPECT_FALSE(EditControllers(untouched));
  EXPECT_EQ(untouched, MIDIControllers{});
  int program = 7;
  std::string name = "kept";
  EXPECT_FALSE(ChooseGMPatch(program, name));
  EXPECT_EQ(program, 7);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(dialogs.channels, (std::vector<int>{0, 0}));
}

TEST(MidiDialogsTest, TheControllerEventEditorPacksKindAndValue) {
  CMetaEvent event(CMetaEvent::kMidiController, "", PackMidiController(2, 90), 5, 6);
  CMidiMetaControl dialog;
  dialog.From(event);
  EXPECT_EQ(MidiControllerKinds()[static_cast<size_t>(dialog.kind)].name, "Expression");
  EXPECT_EQ(dialog.value, 90);

  ScriptedDialogs dialogs;
  ScopedMidiDialogs scoped(dialogs);
  ASSERT_TRUE(EditMidiController(event));
  EXPECT_EQ(event.text, "cresc.");
  EXPECT_EQ(MidiControllerCode(event), 2);
  EXPECT_EQ(MidiControllerValue(event), 127);  // kept to a MIDI value
  EXPECT_EQ(event.cx, 5);                       // the position stays
  EXPECT_EQ(event.cy, 6);

  // "Reset MIDI patch": the chosen program becomes a program change.
  ASSERT_TRUE(dialog.ResetPatch());
  dialog.To(event);
  EXPECT_EQ(MidiControllerCode(event), 12);
  EXPECT_EQ(MidiControllerValue(event), 40);
}

TEST(MidiDialogsTest, TheTrackChooserShowsTheTracksAndAppliesTheChoices) {
  // Track 0: a name, 3/4, two sharps minor, program 24 and a note; track 1: text only.
  CIMidiDoc doc;
  ASSERT_TRUE(doc.Parse(testing::Smf(1, 2, 96,
                                     {"00 FF 03 04 4C 75 74 65 00 FF 58 04 03 02 18 08 00 FF 59 02 02 01 00 C0 18 "
                                      "00 90 3C 40 60 80 3C 00 00 FF 2F 00",
                                      "00 FF 01 02 68 69 00 FF 2F 00"})));
  MidiImportOptions options;
  CInstrumentArray base;
  base.push_back(std::make_unique<CInstrumentDlg>());
  base.at(0)->nameText.text = "Theorbo";
  CMidiTrackList list;
  list.From(doc, options, &base);
  EXPECT_EQ(list.header, "MIDI Format: 1. Time division: 96. Tracks: 2");
  EXPECT_EQ(list.instruments, (std::vector<std::string>{"Default", "Theorbo"}));
  ASSERT_EQ(list.rows.size(), 2u);
  EXPECT_EQ(list.rows[0].chosen, "Default instrument");
  EXPECT_EQ(list.rows[0].name, "Lute");
  EXPECT_EQ(list.rows[0].numerator, "3");
  EXPECT_EQ(list.rows[0].denominator, "4");
  EXPECT_EQ(list.rows[0].key, "2 minor");
  EXPECT_EQ(list.rows[0].program, "25. Acoustic Guitar (nylon)");
  EXPECT_EQ(list.rows[1].chosen, "Text");
  EXPECT_EQ(list.rows[1].numerator, "");

  list.rows[0].instrument = 1;
  list.tempo = 9999;
  list.createNewSection = false;
  ASSERT_TRUE(list.Apply(doc, options));
  EXPECT_EQ(doc.tracks.at(0)->choice, 0);
  EXPECT_EQ(options.tempo, 0xFFF);
  EXPECT_FALSE(options.newSection);

  // Nothing marked: the message, and the chooser is shown again until it is cancelled.
  testing::ScriptedPrompts prompts;
  struct CancelSecondTime : ScriptedDialogs {
    bool ChooseTracks(CMidiTrackList& dialog) override {
      ok = trackRuns < 1;
      return ScriptedDialogs::ChooseTracks(dialog);
    }
  } dialogs;
  dialogs.skipAll = true;
  ScopedMidiDialogs scoped(dialogs);
  DialogTrackChooser chooser(&base);
  EXPECT_FALSE(chooser.Choose(doc, options));
  EXPECT_EQ(dialogs.trackRuns, 2);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No data available for import in selected tracks"});
}

}  // namespace
}  // namespace vornel
