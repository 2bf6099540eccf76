// The explorer, templates and sections panes' actions against a fake view and application.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "shell/FakePanes.h"
#include "shell/panes/PaneActions.h"
#include "support/ScriptedPrompts.h"

namespace vornel::panes {
namespace {

const ListSelection kNone{};
const ListSelection kSecond{1, "Baroque lute.bttx"};

TEST(PaneActions, WithoutATablatureViewOnlyTheTemplatesAct) {
  testing::ScriptedPrompts prompts;
  FakeServices services;  // the title-page view, or no document: no tablature view
  for (ListId list : {ListId::kSections, ListId::kFacsimiles, ListId::kInstruments}) {
    OpenEntry(services, list, kSecond);
  }
  const int viewCommands[][2] = {{59432, 33297}, {59432, 33300}, {59433, 33833}, {59433, 33834}, {59433, 33835},
                                 {59435, 34104}, {59435, 34106}, {59435, 34108}, {59435, 34110}};
  for (const auto& [list, command] : viewCommands) {
    const ListCommandResult result = RunListCommand(services, static_cast<ListId>(list), command, kSecond);
    EXPECT_TRUE(result.handled) << command;
    EXPECT_FALSE(result.refill) << command;
  }
  EXPECT_TRUE(services.calls.empty()) << services.calls.front();
  EXPECT_TRUE(prompts.messages.empty());

  OpenEntry(services, ListId::kTemplates, kSecond);
  RunListCommand(services, ListId::kTemplates, 34111, kSecond);
  EXPECT_EQ(services.calls, (std::vector<std::string>{"new Baroque lute.bttx", "new Baroque lute.bttx"}));
}

TEST(PaneActions, OpeningEntriesGoesToTheView) {
  FakeView view;
  FakeServices services;
  services.view = &view;
  OpenEntry(services, ListId::kSections, kSecond);
  OpenEntry(services, ListId::kFacsimiles, kNone);  // no image chosen: the view adds one
  OpenEntry(services, ListId::kInstruments, kSecond);
  OpenEntry(services, ListId::kSections, kNone);
  OpenEntry(services, ListId::kTemplates, kNone);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"section 1", "facsimile -1", "edit 1"}));
  EXPECT_TRUE(services.calls.empty());
}

TEST(PaneActions, ListCommandsWithAView) {
  testing::ScriptedPrompts prompts;
  FakeView view;
  FakeServices services;
  services.view = &view;
  struct Case {
    ListId list;
    int command;
    std::vector<std::string> calls;
    bool refill;
  };
  const Case cases[] = {
      {ListId::kSections, 33299, {"send 33299"}, false},
      {ListId::kSections, 33302, {"send 33302"}, false},
      {ListId::kFacsimiles, 33834, {"remove 1"}, false},
      {ListId::kFacsimiles, 33835, {"send 33023"}, false},
      {ListId::kFacsimiles, 33836, {"send 34120"}, false},
      {ListId::kFacsimiles, 33837, {"send 33024"}, false},
      {ListId::kFacsimiles, 33838, {"send 33838"}, false},
      {ListId::kInstruments, 34104, {"add 1"}, true},
      {ListId::kInstruments, 34107, {"send 34159"}, true},
      {ListId::kInstruments, 34108, {"send 33010"}, true},
      {ListId::kInstruments, 34109, {"instrument base"}, true},
      {ListId::kTemplates, 34112, {"apply Baroque lute.bttx"}, false},
      {ListId::kTemplates, 34113, {"send 33282"}, true},
      {ListId::kTemplates, 34114, {"templates folder"}, true},
  };
  for (const Case& c : cases) {
    services.calls.clear();
    const ListCommandResult result = RunListCommand(services, c.list, c.command, kSecond);
    EXPECT_TRUE(result.handled) << c.command;
    EXPECT_EQ(result.refill, c.refill) << c.command;
    EXPECT_EQ(services.calls, c.calls) << c.command;
  }
  EXPECT_FALSE(RunListCommand(services, ListId::kSections, 34104, kSecond).handled);
  services.calls.clear();
  RunListCommand(services, ListId::kInstruments, 34106, kSecond);
  EXPECT_EQ(view.calls.back(), "replace 1");
}

TEST(PaneActions, DeletingAskFirstAndNothingWithoutASelection) {
  testing::ScriptedPrompts prompts;
  FakeView view;
  FakeServices services;
  services.view = &view;
  RunListCommand(services, ListId::kTemplates, 34115, kNone);
  RunListCommand(services, ListId::kInstruments, 34110, kNone);
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_TRUE(services.calls.empty());

  prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(RunListCommand(services, ListId::kTemplates, 34115, kSecond).removeSelection);
  EXPECT_TRUE(services.calls.empty());
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0],
            "This operation will completely delete the template file Baroque lute.bttx from your system.\nOK to "
            "proceed?");

  prompts.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(RunListCommand(services, ListId::kTemplates, 34115, kSecond).removeSelection);
  EXPECT_EQ(prompts.messages.back(), kTemplateDeletedMessage);

  services.deleteWorks = false;
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_FALSE(RunListCommand(services, ListId::kTemplates, 34115, kSecond).removeSelection);
  EXPECT_EQ(prompts.messages.back(), kTemplateNotDeletedMessage);

  services.calls.clear();
  prompts.QueueAnswer(Answer::kCancel);
  RunListCommand(services, ListId::kInstruments, 34110, kSecond);
  EXPECT_TRUE(services.calls.empty());
  prompts.QueueAnswer(Answer::kOk);
  RunListCommand(services, ListId::kInstruments, 34110, kSecond);
  EXPECT_EQ(services.calls, std::vector<std::string>{"delete instrument 1"});
  EXPECT_EQ(prompts.questions.back(), kDeleteInstrumentQuestion);
}

TEST(PaneActions, ExplorerCommands) {
  FakeServices services;
  for (int command : {34100, 34101, 34102, 34103}) EXPECT_TRUE(RunExplorerCommand(services, command));
  EXPECT_FALSE(RunExplorerCommand(services, 34104));
  EXPECT_EQ(services.calls, (std::vector<std::string>{"send 57601", "send 34101", "xml folder", "send 33070"}));
}

}  // namespace
}  // namespace vornel::panes
