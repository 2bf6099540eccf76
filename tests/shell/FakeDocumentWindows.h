#pragma once
// The open documents' windows for tests of the shell's commands: documents shown are kept in
// a list, closing asks the save question as the frame does.

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/ApplicationCommands.h"

namespace vornel::testing {

class FakeWindows : public DocumentWindows {
 public:
  explicit FakeWindows(CVornelTabApp& app) : app_(app) {}
  void ShowDocument(std::unique_ptr<CVornelTabDoc> document) override { documents.push_back(std::move(document)); }
  bool ActivateDocument(const std::string& path) override {
    for (const auto& doc : documents) {
      if (doc->GetPathName() == path) return true;
    }
    return false;
  }
  std::vector<CVornelTabDoc*> Documents() const override {
    std::vector<CVornelTabDoc*> list;
    for (const auto& doc : documents) list.push_back(doc.get());
    return list;
  }
  bool CloseDocument(CVornelTabDoc& document) override {
    if (!SaveModifiedBeforeClose(app_, document)) return false;
    documents.erase(std::find_if(documents.begin(), documents.end(), [&](const auto& d) { return d.get() == &document; }));
    return true;
  }
  void SwitchPaletteTab(std::string_view title) override { switched.emplace_back(title); }
  void Exit() override { exited = true; }

  std::vector<std::unique_ptr<CVornelTabDoc>> documents;
  std::vector<std::string> switched;
  bool exited = false;

 private:
  CVornelTabApp& app_;
};

}  // namespace vornel::testing
