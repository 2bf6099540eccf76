#pragma once
// Saving a document, opening what was written and saving that again: the second file must hold
// the bytes of the first.

#include <gtest/gtest.h>

#include <string>

#include "document/DocumentFiles.h"
#include "support/Bytes.h"

namespace vornel::testing {

// `extension` names the form (".btxml", ".btb").
inline void ExpectStableResave(CVornelTabDoc& doc, const std::string& extension) {
  TempDir dir;
  const std::string first = dir.File("first" + extension);
  const std::string second = dir.File("second" + extension);
  ASSERT_TRUE(SaveDocumentFile(doc, first)) << extension;
  OpenedDocument opened = OpenDocumentFile(first);
  ASSERT_NE(opened.document, nullptr) << extension << ": " << opened.message;
  ASSERT_TRUE(SaveDocumentFile(*opened.document, second)) << extension;
  const std::string before = ReadText(first);
  const std::string after = ReadText(second);
  if (before == after) return;
  size_t at = 0;
  while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
  const size_t from = at > 80 ? at - 80 : 0;
  ADD_FAILURE() << extension << " differs at byte " << at << " of " << before.size() << "/" << after.size()
                << "\nfirst:  " << ::testing::PrintToString(before.substr(from, 200))
                << "\nsecond: " << ::testing::PrintToString(after.substr(from, 200));
}

}  // namespace vornel::testing
