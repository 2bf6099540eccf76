#pragma once
// The sections of a document, in order, with the active one. Every section knows its own
// position in the list; every operation that inserts, removes, moves or reads sections
// numbers them again.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/score/CSystemArray.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class XmlSink;

class CSectionArray : public Persistent, public OwnedArray<CSystemArray> {
 public:
  static constexpr std::string_view kClassName = "CSectionArray";
  static constexpr std::string_view kExcludedPrefix = "[x] ";

  std::vector<std::string> strings;  // kept with the list, stored nowhere
  int32_t activeSection = -1;

  CSectionArray() = default;
  CSectionArray(const CSectionArray&) = delete;
  CSectionArray& operator=(const CSectionArray&) = delete;

  // The section's title, after "[x] " when it is left out of the contents; an index outside
  // the list raises std::out_of_range.
  std::string GetSectionLabel(size_t index) const;
  // 0 (nothing changes) with fewer than two sections; else deletes the section, keeps the
  // active index within the list and returns 1.
  int DeleteSection(size_t index);
  void MoveSection(size_t from, size_t to);
  void ResetSections();
  // Deletes every section with all its music and empties the list.
  void DeleteAllSections();
  // From `from` on: a section inserted there moves only those after it.
  void Renumber(size_t from = 0);
  // The active index brought into the list (-1 for an empty list).
  void ClampActiveSection();
  // One per-chord edit over both voices of every line of every section.
  void ApplyCommandToAllSections(ClearCommand command);

  std::string_view ClassName() const override { return kClassName; }
  // The sections (object array), then the active index.
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "sections" with "count", "active-section" and each section with its "index".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Replaces the list; reads as many sections as "count" says and the children hold.
  // Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
  // "sections" in the short form of document indexes.
  tinyxml2::XMLElement* WriteMetadataXml(tinyxml2::XMLDocument& doc) const;
};

}  // namespace vornel
