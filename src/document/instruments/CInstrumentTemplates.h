#pragma once
// The instrument base: the user's library of instrument definitions, from which new
// instrument lines, the default instrument and the template choosers take theirs. It lives in
// one file, the XML form ".btix" (read and written) or the older binary form ".btbi" (read
// only, converted to XML after a clean read). A fresh base without a configured file holds
// the twelve definitions of the built-in template set in use.
//
// The dialog that browses and edits the base works on one of these objects; every use makes
// a fresh one, so the dialog always starts from the base as stored.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"

namespace vornel {

class CInstrumentTemplates {
 public:
  static constexpr std::string_view kCorruptBaseMessage = "Corrupt or missing instrument database: ";
  static constexpr std::string_view kSaveFailedMessage = "Error saving instrument database to xml format!";
  static constexpr std::string_view kDefaultBaseName = "DefaultInstruments.btix";
  // Where an unnamed base is saved, inside the user's data folder.
  static constexpr std::string_view kUnnamedBaseName = "VornelDatabase.btix";
  static constexpr std::string_view kRootElement = "instruments-list";
  // A base file is small: the cap keeps a stray large file from being read whole.
  static constexpr size_t kMaxBaseFileBytes = size_t(64) << 20;

  // What loading a base file did.
  enum class LoadResult {
    kRead,       // read whole
    kBroken,     // read in part (or not at all) after the system's message
    kUnopened,   // the file could not be opened; nothing said
    kIgnored,    // not a base file name: nothing loaded
  };

  std::string basePath;   // the file last read or written
  bool modified = false;  // set by edits and imports, cleared by a save
  CInstrumentArray instruments;

  // Loads the configured base; without one, or when the configured file is missing or cannot
  // be read, fills the built-in templates. A configured name of another kind loads nothing.
  void OpenConfiguredBase();
  // Loads the base the environment names; false when none is named.
  bool LoadConfiguredBase();

  // Loads a base file of either form: the XML form into `owner`, the binary form into
  // `target` (the same object except while importing). A clean binary read into the
  // configured base is saved at once in XML form beside it.
  static LoadResult LoadBaseFile(const std::string& path, CInstrumentTemplates& target, CInstrumentTemplates& owner);

  // Reads an XML base, appending its definitions; the base path becomes `path`. On failure
  // the array and the base path stay as they were; `missingIsQuiet` keeps a file that does
  // not exist from being reported.
  bool ReadBaseFile(const std::string& path, bool missingIsQuiet = false);
  // The same from the file's bytes; `path` names it in messages and becomes the base path.
  bool ReadBaseXml(std::span<const uint8_t> bytes, const std::string& path);
  // Reads a binary base from bytes, appending its definitions (those read before a failure
  // stay); false when the bytes broke off or were wrong. No message.
  bool ReadBinaryBase(std::span<const uint8_t> bytes);
  // The binary base form of the array (fixtures, conversions of tests).
  std::vector<uint8_t> BinaryBaseBytes(std::string_view version) const;

  // The XML base text with `pathName` in its root.
  std::string BaseFileText(std::string_view pathName) const;
  // Writes the XML form to the base-file name of `path` (see BaseFileName); the base path
  // becomes it. Returns that path; nothing, with `error` set, when it could not be written.
  std::optional<std::string> WriteBaseFile(const std::string& path, std::string* error = nullptr);

  // Saves to the configured base file (an empty configuration: the unnamed base in the user's
  // data folder). The modified flag is not touched here.
  bool SaveInstrumentBase();
  // Saves as XML to `path`; false, after the system's message with the path and the reason.
  bool SaveInstrumentBaseAs(const std::string& path);
  // Replaces the base by the shipped default base; from now on fresh bases take the modern
  // template set. Sets the modified flag.
  void ResetToDefaultBase();

  // Inserts a copy of `definition` before the first entry of its family (at the end when
  // none); returns its index.
  size_t InsertByFamily(const CInstrumentDlg& definition);

  // --- what the templates dialog does with the base
  static constexpr std::array<std::string_view, 12> kFamilyTabs = {
      "All",    "Renaissance lute", "New tunings", "Baroque lute", "Theorbo",   "Guitar",
      "Viols",  "Plucked",          "Bowed",       "Keyboards",    "Winds",     "Percussions"};
  static constexpr std::string_view kAppendQuestion = "Append new instrument definitions to this database?";
  static constexpr std::string_view kSaveQuestion = "Save your changes to the instrument database?";
  static constexpr std::string_view kSaveQuestionCaption = "Save database?";
  static constexpr std::string_view kExportTitle = "Select a name to export the instrument database";

  // The definitions a family tab lists, in base order: tab 0 every one, tab k family k - 1.
  std::vector<CInstrumentDlg*> ListedFor(size_t tab) const;
  // Deletes a definition of the base; false (nothing changed) when the base does not hold it.
  bool DeleteDefinition(const CInstrumentDlg* definition);
  // Deletes every definition; the modified flag is not set.
  void ClearAll() { instruments.clear(); }
  // Imports a base file: read into a base of its own, then, when the user agrees, appended
  // after the existing definitions. False when the file could not be opened or the user
  // declined; a broken file offers what was read.
  bool ImportBase(const std::string& path);
  // The property sheet on a definition of the base, or one shown from it: its edit context is
  // cleared while the sheet runs, so that the sheet does not open the base a second time over
  // this one, and set again afterwards whatever the answer. True on OK.
  static bool EditInBaseContext(CInstrumentDlg& definition);
  // "Edit instrument": the property sheet on the definition; the flag is set when accepted.
  bool EditDefinition(CInstrumentDlg& definition);
  // "Add instrument": a definition made from `selected` (a fresh one without it) in the
  // property sheet; accepted, it goes first in the base. Cancelled, nothing changes.
  CInstrumentDlg* AddDefinition(const CInstrumentDlg* selected);
  // "Export database to file": asks for a name and saves the XML form there.
  bool ExportBase();

  // "Save database": saves to the configured file; the modified flag is cleared on success.
  bool SaveDatabase();
  // The question on closing: with unsaved changes, asks whether to save them and saves on
  // Yes. False when that save failed: the changes are kept, the flag stays set and the
  // dialog stays open.
  bool AskToSaveChanges();
};

// The name a base is written under: a final ".btbi" becomes ".btix"; any other name that does
// not end in ".btix" (exact case) gets ".btix" appended.
std::string BaseFileName(const std::string& path);

// The base file the environment names, or the unnamed base of the data folder when none is
// named; empty when neither is known.
std::string ConfiguredBasePath();

// The shipped default base ("Templates/DefaultInstruments.btix" of the shipped data).
std::string ShippedDefaultBasePath();

}  // namespace vornel
