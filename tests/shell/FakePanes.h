#pragma once
// A tablature view and an application that record what the panes ask of them.

#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "shell/panes/PaneActions.h"

namespace vornel::panes {

class FakeView : public TabView {
 public:
  CVornelTabDoc& Document() override { return doc; }
  void OnSectionListDblClk(int index) override { calls.push_back("section " + std::to_string(index)); }
  void OnFacsimileListDblClk(int index) override { calls.push_back("facsimile " + std::to_string(index)); }
  void EditLibraryInstrument(int index) override { calls.push_back("edit " + std::to_string(index)); }
  void ReplaceInstrumentFromLibrary(int index) override { calls.push_back("replace " + std::to_string(index)); }

  CVornelTabDoc doc;
  std::vector<std::string> calls;
};

class FakeServices : public PaneServices {
 public:
  TabView* ActiveTabView() override { return view; }
  void SendCommand(int id) override { calls.push_back("send " + std::to_string(id)); }
  void NewDocumentFromTemplate(const std::string& name) override { calls.push_back("new " + name); }
  void ApplyTemplate(const std::string& name) override { calls.push_back("apply " + name); }
  bool DeleteTemplate(const std::string& name) override {
    calls.push_back("delete " + name);
    return deleteWorks;
  }
  void ChooseTemplatesFolder() override { calls.push_back("templates folder"); }
  void SelectInstrumentBase() override { calls.push_back("instrument base"); }
  void DeleteInstrument(int index) override { calls.push_back("delete instrument " + std::to_string(index)); }
  void AddLibraryInstrumentToSection(int index) override { calls.push_back("add " + std::to_string(index)); }
  void RemoveFacsimile(int index) override { calls.push_back("remove " + std::to_string(index)); }
  void GoToXmlFolder() override { calls.push_back("xml folder"); }

  TabView* view = nullptr;
  bool deleteWorks = true;
  std::vector<std::string> calls;
};

}  // namespace vornel::panes
