#include "shell/properties/PropertyModel.h"

#include <algorithm>
#include <array>
#include <memory>

#include "document/CBriotabDoc.h"
#include "model/undo/CUndoSectionArray.h"
#include "model/score/SectionEditor.h"

namespace vornel::properties {

namespace {

using K = PropertyKind;

constexpr std::array<std::string_view, 2> kOrientations = {"Portrait", "Landscape"};
constexpr std::array<std::string_view, 7> kKeyNames = {"A / la", "B / si", "C / do", "D / re",
                                                       "E / mi", "F / fa", "G / sol"};
constexpr std::array<std::string_view, 2> kAlterationTypes = {"Flat", "Sharp"};

constexpr PropertyRow Group(int number, int parent, std::string_view name) {
  return PropertyRow{number, parent, name, K::kGroup, {}, {}, 0, 0, {}};
}
constexpr PropertyRow Row(int number, int parent, std::string_view name, K kind, std::string_view initial,
                          std::string_view description) {
  return PropertyRow{number, parent, name, kind, initial, description, 0, 0, {}};
}
constexpr PropertyRow Spin(int number, int parent, std::string_view name, std::string_view description, int minimum,
                           int maximum) {
  return PropertyRow{number, parent, name, K::kInteger, "0", description, minimum, maximum, {}};
}
constexpr PropertyRow Choice(int number, int parent, std::string_view name, std::string_view initial,
                             std::string_view description, std::span<const std::string_view> options) {
  return PropertyRow{number, parent, name, K::kText, initial, description, 0, 0, options};
}

const std::array<PropertyRow, 45> kRows = {
    Group(0, -1, "Document properties"),
    Group(3, 0, "Document Titles"),
    Row(11, 3, "Document title", K::kText, "Book title", "Document title"),
    Row(12, 3, "Document composer", K::kText, "Book author", "Document author"),
    Row(13, 3, "Document editor", K::kText, "Book editor", "Document editor"),
    Group(4, 0, "Page Layout"),
    Spin(14, 4, "Horizontal cursor", "Horizontal cursor step size", 10, 200),
    Spin(15, 4, "Left margin", "Left margin", 50, 400),
    Spin(16, 4, "Top margin", "Top margin", 50, 400),
    Spin(17, 4, "Right margin", "Right margin", 50, 400),
    Spin(18, 4, "Bottom margin", "Bottom margin", 50, 400),
    Row(19, 4, "Section page breaks", K::kCheck, "1", "New page on new section"),
    Row(20, 4, "Proportional spacing", K::kCheck, "1", "Proportional spacing"),
    Row(21, 4, "Bar numbers inside", K::kCheck, "1", "Print every 5th bar number"),
    Choice(22, 4, "Page orientation", "Portrait", "Page orientation", kOrientations),
    Group(1, -1, "Section properties"),
    Group(5, 1, "Section Titles"),
    Row(23, 5, "Section title", K::kText, "Bourree", "Section title"),
    Row(24, 5, "Composer", K::kText, "Composer", "Section composer"),
    Row(25, 5, "Global author", K::kCheck, "1", "Set this composer to the whole document/sections"),
    Row(26, 5, "Sub-title", K::kText, "1st part", "Sub-title or comment"),
    Group(6, 1, "Section Fonts"),
    Row(27, 6, "Title font", K::kFont, "Arial", "Specifies the font for the section title"),
    Row(28, 6, "Composer font", K::kFont, "Arial", "Specifies the font for the composer"),
    Row(29, 6, "Sub-title font", K::kFont, "Arial", "Specifies the font for the sub-title"),
    Group(7, 1, "Key and mode"),
    Row(30, 7, "Key description", K::kText, "C major", "Key description"),
    Choice(31, 7, "Key name", "C", "Key name", kKeyNames),
    Choice(32, 7, "Alterations type", "Flat", "Flats or sharps / dieses ou bemol", kAlterationTypes),
    Spin(33, 7, "Alterations", "Number of flats or sharps / nombre de dieses ou bemols", 0, 7),
    Row(34, 7, "minor", K::kCheck, "1", "Minor mode"),
    Group(8, 1, "Signature and movement"),
    Spin(35, 8, "Beats", "Beats per bar", 2, 12),
    Spin(36, 8, "Beat value", "Beat value", 2, 12),
    Spin(37, 8, "Tempo", "Tempo", 20, 200),
    Choice(38, 8, "Movement", "Andante", "Movement description", CSystemArray::kMovementNames),
    Group(9, 1, "Formatting"),
    Spin(39, 9, "Bar number offset", "Bar number offset", 0, 100),
    Spin(40, 9, "Staves per page", "Set the number of staves per page", 0, 100),
    Spin(41, 9, "Clef left offset", "Clef left offset in millimeters", 0, 100),
    Row(42, 9, "Reset offset", K::kCheck, "1", "Reset offsets for all sections"),
    Row(43, 9, "MIDI repeats", K::kCheck, "1", "Play repeats on MIDI export"),
    Row(44, 9, "Exclude from table of contents", K::kCheck, "1", "Do not include section in table of contents"),
    Row(45, 9, "Page break after", K::kCheck, "1", "Add page break after this section"),
    Group(2, -1, "Instruments"),
};

constexpr std::string_view kStepLetters = "CDEFGAB";

// The document settings the properties 11-22 change; an undo entry keeps them, since they lie
// outside the section copy.
struct DocumentValues {
  std::array<std::string, 3> texts;
  uint32_t cursorWidth = 0;
  uint32_t leftMargin = 0;
  uint32_t topMargin = 0;
  uint32_t rightMargin = 0;
  uint32_t bottomMargin = 0;
  int32_t newPageOnSection = 0;
  int32_t proportionalSpacing = 0;
  int32_t keptProportionalSpacing = 0;
  int32_t barNumberFlag = 0;
  int32_t landscape = 0;
};

constexpr std::array<CDocumentSettings::TextIndex, 3> kDocumentTexts = {
    CDocumentSettings::kTitle, CDocumentSettings::kAuthor, CDocumentSettings::kTranscriber};

DocumentValues ReadDocumentValues(const CDocumentSettings& settings) {
  DocumentValues v;
  for (size_t i = 0; i < kDocumentTexts.size(); ++i) v.texts[i] = settings.Text(kDocumentTexts[i]).text;
  const CPageDlg& page = settings.pageSettings;
  v.cursorWidth = page.cursorWidth;
  v.leftMargin = page.leftMargin;
  v.topMargin = page.topMargin;
  v.rightMargin = page.rightMargin;
  v.bottomMargin = page.bottomMargin;
  v.newPageOnSection = page.newPageOnSection;
  v.proportionalSpacing = page.proportionalSpacing;
  v.keptProportionalSpacing = page.keptProportionalSpacing;
  v.barNumberFlag = page.barNumberFlag;
  v.landscape = page.landscape;
  return v;
}

void WriteDocumentValues(CDocumentSettings& settings, const DocumentValues& v) {
  for (size_t i = 0; i < kDocumentTexts.size(); ++i) settings.Text(kDocumentTexts[i]).text = v.texts[i];
  CPageDlg& page = settings.pageSettings;
  page.cursorWidth = v.cursorWidth;
  page.leftMargin = v.leftMargin;
  page.topMargin = v.topMargin;
  page.rightMargin = v.rightMargin;
  page.bottomMargin = v.bottomMargin;
  page.newPageOnSection = v.newPageOnSection;
  page.proportionalSpacing = v.proportionalSpacing;
  page.keptProportionalSpacing = v.keptProportionalSpacing;
  page.barNumberFlag = v.barNumberFlag;
  page.landscape = v.landscape;
}

class DocumentValuesExtra : public SnapshotExtra {
 public:
  explicit DocumentValuesExtra(CDocumentSettings& settings) : settings_(settings), kept_(ReadDocumentValues(settings)) {}
  void Exchange() override {
    DocumentValues live = ReadDocumentValues(settings_);
    WriteDocumentValues(settings_, kept_);
    kept_ = std::move(live);
  }

 private:
  CDocumentSettings& settings_;
  DocumentValues kept_;
};

int32_t Clamped(const PropertyRow& row, int32_t value) { return std::clamp(value, row.minimum, row.maximum); }

void SetBits(int32_t& word, int32_t mask, bool on) { word = on ? (word | mask) : (word & ~mask); }

CTrackText& SectionText(CSystemArray& section, int number) {
  switch (number) {
    case 23:
    case 27:
      return section.Title();
    case 24:
    case 28:
      return section.Author();
    default:
      return section.Comments();
  }
}

LogFont FontOf(const CTrackText& text) { return text.font.logFont; }

}  // namespace

std::span<const PropertyRow> PropertyTable() { return kRows; }

const PropertyRow* FindProperty(int number) {
  for (const PropertyRow& row : kRows) {
    if (row.number == number) return &row;
  }
  return nullptr;
}

std::optional<int> KeyStepOfName(std::string_view text) {
  if (text.empty()) return std::nullopt;
  char c = text.front();
  if (c >= 'a' && c <= 'g') c = static_cast<char>(c - 'a' + 'A');
  if (c < 'A' || c > 'G') return std::nullopt;
  return (c - 'C' + 7) % 7;
}

void PropertyModel::Show(CBriotabDoc* document, CSystemArray* section) {
  document_ = nullptr;
  sectionIndex_ = -1;
  if (document == nullptr || section == nullptr) return;
  const int index = document->sections.IndexOf(section);
  if (index < 0) return;
  document_ = document;
  sectionIndex_ = index;
}

CSystemArray* PropertyModel::Section() const {
  if (document_ == nullptr || sectionIndex_ < 0 || static_cast<size_t>(sectionIndex_) >= document_->sections.size()) {
    return nullptr;
  }
  return document_->sections.at(static_cast<size_t>(sectionIndex_));
}

std::optional<PropertyValue> PropertyModel::Value(int number) const {
  CSystemArray* section = Section();
  if (section == nullptr) return std::nullopt;
  const CDocumentSettings& settings = document_->settings;
  const CPageDlg& page = settings.pageSettings;
  const CKey& key = section->key;
  // Integers are shown as the grid's 16-bit values.
  auto integer = [](int64_t v) { return PropertyValue::Number(static_cast<int16_t>(v)); };
  auto check = [](bool on) { return PropertyValue::Number(on ? 1 : 0); };
  switch (number) {
    case 11:
    case 12:
    case 13:
      return PropertyValue::Text(settings.Text(kDocumentTexts[static_cast<size_t>(number - 11)]).text);
    case 14:
      return integer(page.cursorWidth);
    case 15:
      return integer(page.leftMargin);
    case 16:
      return integer(page.topMargin);
    case 17:
      return integer(page.rightMargin);
    case 18:
      return integer(page.bottomMargin);
    case 19:
      return check(page.newPageOnSection != 0);
    case 20:
      return check(page.proportionalSpacing != 0);
    case 21:
      return check((page.barNumberFlag & 0xF) != 0);
    case 22:
      return PropertyValue::Text(std::string(kOrientations[page.landscape != 0 ? 1 : 0]));
    case 23:
    case 24:
    case 26:
      return PropertyValue::Text(SectionText(*section, number).text);
    case 25:
      return check(true);
    case 27:
    case 28:
    case 29:
      return PropertyValue::Font(FontOf(SectionText(*section, number)));
    case 30:
      return PropertyValue::Text(key.GetKeyDescription());
    case 31: {
      const int step = key.keyName >= 0 && key.keyName < 7 ? key.keyName : 0;
      return PropertyValue::Text(std::string(1, kStepLetters[static_cast<size_t>(step)]));
    }
    case 32:
      return PropertyValue::Text(std::string(kAlterationTypes[key.bemol != 0 ? 0 : 1]));
    case 33:
      return integer(key.alterations);
    case 34:
      return check((key.mode & CKey::kMinorBit) != 0);
    case 35:
      return integer(section->numerator);
    case 36:
      return integer(section->denominator);
    case 37:
      return integer(section->tempo & 0xFFF);
    case 38:
      return PropertyValue::Text(std::string(CSystemArray::MovementName(section->movement)));
    case 39:
      return integer(section->barOffset);
    case 40:
      return integer(section->stavesPerPage);
    case 41:
      return integer(section->leftOffset);
    case 42:
      return check(false);
    case 43:
      return check(section->repeats != 0);
    case 44:
      return check(section->excluded != 0);
    case 45:
      return check((section->flags & CSystemArray::kPageBreakAfter) != 0);
    default:
      return std::nullopt;
  }
}

std::vector<InstrumentGroup> PropertyModel::Instruments() const {
  std::vector<InstrumentGroup> groups;
  CSystemArray* section = Section();
  if (section == nullptr) return groups;
  const size_t count = section->definitions.size();
  for (size_t i = 0; i < count; ++i) {
    const CInstrumentDlg& definition = *section->definitions.at(i);
    InstrumentGroup group;
    group.number = kFirstInstrumentGroup + static_cast<int>(i);
    group.name = definition.nameText.text;
    group.family = std::string(CInstrumentDlg::FamilyName(definition.family));
    if (count > 1) {
      group.visibleNumber = kFirstVisibleCheck + static_cast<int>(i);
      group.visible = (definition.visible & 0xFFFF) != 0;
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

StoreEffect PropertyModel::Store(int number, const PropertyValue& value) {
  CSystemArray* section = Section();
  if (section == nullptr) return StoreEffect::kNothing;
  CBriotabDoc& doc = *document_;

  if (number >= kFirstVisibleCheck) {
    const size_t index = static_cast<size_t>(number - kFirstVisibleCheck);
    // A grid that still shows a definition the section no longer has changes nothing.
    if (index >= section->definitions.size()) return StoreEffect::kNothing;
    const CBriotabDoc::ActionName name(doc, "Visible");
    doc.BeginSectionEdit();
    section = Section();
    CInstrumentDlg& definition = *section->definitions.at(index);
    definition.visible = definition.visible != 0 ? 0 : 1;
    doc.NotifyChanged(kHintRepaintAll);
    return StoreEffect::kSectionLayout;
  }
  if (number >= kFirstInstrumentGroup) return StoreEffect::kNothing;
  const PropertyRow* row = FindProperty(number);
  if (number == kFamilyProperty) return StoreEffect::kLayoutReset;  // the family is edited by its sheet
  if (row == nullptr || row->kind == PropertyKind::kGroup) return StoreEffect::kNothing;
  // "Global author", "Key description" and "Reset offset" store nothing.
  if (number == 25 || number == 30 || number == 42) return StoreEffect::kLayoutReset;

  const bool documentProperty = number <= 22;
  // The undo list names the entry after the property.
  const CBriotabDoc::ActionName name(doc, std::string(row->name));
  doc.BeginSectionEdit(documentProperty ? std::make_shared<DocumentValuesExtra>(doc.settings) : nullptr);
  // The snapshot leaves the section in place; find it again all the same.
  section = Section();
  CDocumentSettings& settings = doc.settings;
  CPageDlg& page = settings.pageSettings;
  CKey& key = section->key;
  const int32_t n = value.number;
  const bool on = value.number != 0;
  switch (number) {
    case 11:
    case 12:
    case 13:
      settings.Text(kDocumentTexts[static_cast<size_t>(number - 11)]).text = value.text;
      break;
    case 14:
      page.cursorWidth = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 15:
      page.leftMargin = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 16:
      page.topMargin = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 17:
      page.rightMargin = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 18:
      page.bottomMargin = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 19:
      page.newPageOnSection = on ? 1 : 0;
      break;
    case 20:
      page.SetProportionalSpacing(on);
      break;
    case 21:
      SetBits(page.barNumberFlag, 1, on);
      break;
    case 22:
      page.landscape = value.text == kOrientations[1] ? 1 : 0;
      break;
    case 23:
    case 24:
    case 26:
      SectionText(*section, number).text = value.text;
      break;
    case 27:
    case 28:
    case 29:
      SectionText(*section, number).font.SetLogFont(value.font);
      break;
    case 31:
      if (const auto step = KeyStepOfName(value.text)) key.keyName = *step;
      break;
    case 32:
      key.bemol = value.text == kAlterationTypes[0] ? 1 : 0;
      break;
    case 33:
      key.alterations = static_cast<uint32_t>(Clamped(*row, n));
      break;
    case 34:
      SetBits(key.mode, CKey::kMinorBit, on);
      break;
    case 35:
      section->numerator = Clamped(*row, n);
      break;
    case 36:
      section->denominator = Clamped(*row, n);
      break;
    case 37:
      // Beats per minute only: the flag nibble and the beat unit stay.
      section->tempo = (section->tempo & ~0xFFF) | Clamped(*row, n);
      break;
    case 38: {
      const auto& names = CSystemArray::kMovementNames;
      const auto it = std::find(names.begin(), names.end(), value.text);
      if (it != names.end()) section->movement = static_cast<int32_t>(it - names.begin());
      break;
    }
    case 39:
      section->barOffset = Clamped(*row, n);
      break;
    case 40:
      section->stavesPerPage = Clamped(*row, n);
      break;
    case 41:
      section->leftOffset = Clamped(*row, n);
      break;
    case 43:
      section->repeats = on ? 1 : 0;
      break;
    case 44:
      section->excluded = on ? 1 : 0;
      SetBits(section->flags, CSystemArray::kExcludedFromContents, on);
      break;
    case 45:
      SetBits(section->flags, CSystemArray::kPageBreakAfter, on);
      break;
    default:
      break;
  }
  doc.NotifyChanged(kHintRepaintAll);
  // The sections list shows the title and the contents mark.
  if (number == 23 || number == 44) doc.UpdateSectionList();
  return StoreEffect::kLayoutReset;
}

bool PropertyModel::EditInstrument(size_t index) {
  CSystemArray* section = Section();
  if (section == nullptr || index >= section->definitions.size()) return false;
  // The sheet edits the definition in place: the snapshot comes first and goes again when the
  // sheet is cancelled.
  document_->undoStack.SaveSnapshot(*section, "Family");
  if (!SectionEditors().EditInstrument(*section->definitions.at(index))) {
    document_->undoStack.PopFront();
    return false;
  }
  document_->redoStack.clear();
  document_->NotifyChanged(kHintRepaintAll);
  return true;
}

}  // namespace vornel::properties
