#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/ObjectNumbers.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

// A minimal record class: one u16.
class Probe : public Persistent {
 public:
  static constexpr std::string_view kClassName = "Probe";
  uint16_t value = 0;
  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override { ar.WriteU16(value); }
  void Load(ArchiveReader& ar) override { value = ar.ReadU16(); }
};

class Other : public Persistent {
 public:
  static constexpr std::string_view kClassName = "Other";
  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter&) const override {}
  void Load(ArchiveReader&) override {}
};

// Holds objects of its own class: lets a file nest references as deep as it likes.
class Nest : public Persistent {
 public:
  static constexpr std::string_view kClassName = "Nest";
  std::unique_ptr<Nest> inner;
  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override { ar.WriteObject(inner.get()); }
  void Load(ArchiveReader& ar) override { inner = ar.ReadOwnedObject<Nest>(); }
};

std::string TextBytes(std::string_view text) {
  ArchiveWriter w;
  w.WriteText(text);
  return ToHex(w.Bytes());
}

TEST(ArchiveText, LengthFormsAndMarks) {
  EXPECT_EQ(TextBytes(""), "FF FE FF 00");
  EXPECT_EQ(TextBytes("A"), "FF FE FF 01 41 00");
  // 254 units still fit the one-byte length; 255 takes the 0xFF + u16 form.
  EXPECT_EQ(TextBytes(std::string(254, 'a')).substr(0, 11), "FF FE FF FE");
  EXPECT_EQ(TextBytes(std::string(255, 'a')).substr(0, 17), "FF FE FF FF FF 00");

  ArchiveWriter w;
  w.WriteText(std::string(300, 'x'));
  ASSERT_EQ(w.Bytes().size(), 6u + 600u);
  EXPECT_EQ(ToHex({w.Bytes().begin(), w.Bytes().begin() + 8}), "FF FE FF FF 2C 01 78 00");

  ArchiveWriter big;
  big.WriteText(std::string(0x10000, 'y'));
  EXPECT_EQ(ToHex({big.Bytes().begin(), big.Bytes().begin() + 10}), "FF FE FF FF FF FF 00 00 01 00");
}

TEST(ArchiveText, RoundTripsUnicodeAndReadsEightBitText) {
  for (const std::string& text : std::vector<std::string>{"", "Luth à 7 chœurs", "𝄞 clef", std::string(300, 'z'), std::string(70000, 'q')}) {
    ArchiveWriter w;
    w.WriteText(text);
    ArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadText(), text);
    EXPECT_TRUE(r.AtEnd());
  }
  // 8-bit text of old archives: UTF-8 when valid, else Windows-1252.
  const auto cp1252Bytes = HexBytes("04 46 E9 74 65");
  ArchiveReader cp1252(cp1252Bytes);
  EXPECT_EQ(cp1252.ReadText(), "F\xC3\xA9te");
  const auto utf8Bytes = HexBytes("03 C3 A9 65");
  ArchiveReader utf8(utf8Bytes);
  EXPECT_EQ(utf8.ReadText(), "\xC3\xA9" "e");
  const auto longFormBytes = HexBytes("FF 02 00 41 42");
  ArchiveReader longForm(longFormBytes);
  EXPECT_EQ(longForm.ReadText(), "AB");
}

TEST(ArchiveText, LengthBeyondTheDataIsRefused) {
  const auto rBytes = HexBytes("FF FE FF FF FF FF FF FF FF 7F 41 00");
  ArchiveReader r(rBytes);
  try {
    r.ReadText();
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Code(), ArchiveErrorCode::kBadCount);
  }
}

TEST(ArchiveCount, SmallAndLargeForms) {
  ArchiveWriter w;
  w.WriteCount(3);
  w.WriteCount(0xFFFE);
  w.WriteCount(0xFFFF);
  w.WriteCount(70000);
  EXPECT_EQ(ToHex(w.Bytes()), "03 00 FE FF FF FF FF FF 00 00 FF FF 70 11 01 00");
  ArchiveReader r(w.Bytes());
  EXPECT_EQ(r.ReadCount(0), 3u);
  EXPECT_EQ(r.ReadCount(0), 0xFFFEu);
  EXPECT_EQ(r.ReadCount(0), 0xFFFFu);
  EXPECT_EQ(r.ReadCount(0), 70000u);
}

TEST(ArchiveCount, CountBeyondTheDataIsRefusedBeforeAllocating) {
  const auto rBytes = HexBytes("FF FF FF FF FF FF 00 00");
  ArchiveReader r(rBytes);
  EXPECT_THROW(r.ReadCount(2), ArchiveError);
}

TEST(ArchiveObjects, ClassNameOnceThenClassTagThenBackReference) {
  Probe a, b;
  a.value = 0x1111;
  b.value = 0x2222;
  ArchiveWriter w;
  const std::vector<const Persistent*> items = {&a, nullptr, &b, &a};
  w.WriteObjectArray(items);
  // count 4; new class (schema 0, "Probe") = number 1, object a = 2; null; class tag 0x8001,
  // object b = 3; back reference to object 2.
  EXPECT_EQ(ToHex(w.Bytes()),
            "04 00 FF FF 00 00 05 00 50 72 6F 62 65 11 11 00 00 01 80 22 22 02 00");

  ArchiveReader r(w.Bytes());
  ASSERT_EQ(r.ReadCount(2), 4u);
  std::unique_ptr<Probe> first, second, third, fourth;
  Probe* p1 = r.ReadObject(first);
  EXPECT_EQ(r.ReadObject(second), nullptr);
  Probe* p3 = r.ReadObject(third);
  Probe* p4 = r.ReadObject(fourth);
  ASSERT_TRUE(first && third);
  EXPECT_EQ(p1->value, 0x1111);
  EXPECT_EQ(p3->value, 0x2222);
  EXPECT_EQ(p4, p1);       // the back reference yields the object read before
  EXPECT_EQ(fourth, nullptr);  // and hands over no new ownership
  EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveObjects, BigNumbersUseTheLongTags) {
  // 0x7FFF objects push the class number past the short tag.
  std::vector<std::unique_ptr<Probe>> probes;
  for (int i = 0; i < 0x7FFF; ++i) probes.push_back(std::make_unique<Probe>());
  ArchiveWriter w;
  for (const auto& p : probes) w.WriteObject(p.get());
  w.WriteObject(probes.back().get());  // object number 0x8000: 7F FF + u32
  const auto& bytes = w.Bytes();
  EXPECT_EQ(ToHex({bytes.end() - 6, bytes.end()}), "FF 7F 00 80 00 00");

  Other other;
  w.WriteObject(&other);  // new class: FF FF
  w.WriteObject(&other);  // back reference to 0x8002
  EXPECT_EQ(ToHex({w.Bytes().end() - 6, w.Bytes().end()}), "FF 7F 02 80 00 00");

  ArchiveReader r(w.Bytes());
  std::vector<std::unique_ptr<Probe>> read(probes.size());
  for (auto& p : read) r.ReadObject(p);
  std::unique_ptr<Probe> again;
  EXPECT_EQ(r.ReadObject(again), read.back().get());
}

TEST(ArchiveObjects, LongClassTagIsRead) {
  // A class reference in the long form: 7F FF then 0x80000000 | class number 1.
  const auto rBytes = HexBytes("FF FF 00 00 05 00 50 72 6F 62 65 01 00  FF 7F 01 00 00 80 02 00");
  ArchiveReader r(rBytes);
  std::unique_ptr<Probe> a, b;
  r.ReadObject(a);
  r.ReadObject(b);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->value, 2);
}

struct BadObjectCase {
  const char* name;
  const char* hex;
  ArchiveErrorCode code;
};

class ArchiveBadObjects : public ::testing::TestWithParam<BadObjectCase> {};

TEST_P(ArchiveBadObjects, EndTheReadWithTheArchiveError) {
  const auto bytes = HexBytes(GetParam().hex);
  ArchiveReader r(bytes);
  try {
    for (int i = 0; i < 4 && !r.AtEnd(); ++i) r.ReadOwnedObject<Probe>();
    FAIL() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Code(), GetParam().code) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveBadObjects,
    ::testing::Values(
        BadObjectCase{"unknown_class", "FF FF 00 00 05 00 50 72 6F 62 66 01 00", ArchiveErrorCode::kBadClass},
        BadObjectCase{"wrong_class_in_array", "FF FF 00 00 05 00 4F 74 68 65 72", ArchiveErrorCode::kBadClass},
        BadObjectCase{"schema_not_zero", "FF FF 01 00 05 00 50 72 6F 62 65 01 00", ArchiveErrorCode::kBadSchema},
        BadObjectCase{"class_name_too_long", "FF FF 00 00 00 01 41", ArchiveErrorCode::kBadClass},
        BadObjectCase{"class_name_past_end", "FF FF 00 00 05 00 50 72", ArchiveErrorCode::kEndOfFile},
        BadObjectCase{"class_tag_never_defined", "05 80 01 00", ArchiveErrorCode::kBadIndex},
        BadObjectCase{"object_never_defined", "07 00", ArchiveErrorCode::kBadIndex},
        // A reference whose number belongs to a class, not an object.
        BadObjectCase{"object_number_of_a_class", "FF FF 00 00 05 00 50 72 6F 62 65 01 00 01 00",
                      ArchiveErrorCode::kBadIndex},
        // A back reference into an owning array: the object would have two owners.
        BadObjectCase{"shared_where_owned", "FF FF 00 00 05 00 50 72 6F 62 65 01 00 02 00",
                      ArchiveErrorCode::kBadIndex},
        BadObjectCase{"record_past_end", "FF FF 00 00 05 00 50 72 6F 62 65 01", ArchiveErrorCode::kEndOfFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveObjects, BackReferenceToAnotherClassIsRefused) {
  const auto bytes = HexBytes("FF FF 00 00 05 00 4F 74 68 65 72  02 00");
  ArchiveReader r(bytes);
  std::unique_ptr<Other> other;
  r.ReadObject(other);
  std::unique_ptr<Probe> probe;
  EXPECT_THROW(r.ReadObject(probe), ArchiveError);
}

TEST(ArchiveObjects, ReferenceToAnObjectDroppedDuringTheReadIsRefused) {
  const auto bytes = HexBytes("FF FF 00 00 05 00 50 72 6F 62 65 01 00  02 00");
  ArchiveReader r(bytes);
  r.ReadOwnedObject<Probe>();  // read, then thrown away by its reader
  std::unique_ptr<Probe> shared;
  try {
    r.ReadObject(shared);
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Code(), ArchiveErrorCode::kBadIndex);
  }
}

TEST(ArchiveObjects, DeepNestingIsRefusedNotRecursedWithoutBound) {
  // Each level: a class tag for Nest and a new object; thousands of levels.
  std::vector<uint8_t> bytes = HexBytes("FF FF 00 00 04 00 4E 65 73 74");
  for (int i = 0; i < 5000; ++i) {
    bytes.push_back(0x01);
    bytes.push_back(0x80);
  }
  bytes.push_back(0);
  bytes.push_back(0);
  ArchiveReader r(bytes);
  try {
    r.ReadOwnedObject<Nest>();
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Code(), ArchiveErrorCode::kTooDeep);
  }
}

// The map of object numbers against a plain one, through growth and deletions that move
// entries back into the holes they leave.
TEST(ArchiveObjects, NumbersFoundByAddressThroughGrowthAndDeletion) {
  std::vector<char> objects(5000);
  ObjectNumbers numbers;
  std::map<const void*, uint32_t> expected;
  uint32_t next = 1;
  for (size_t round = 0; round < 4; ++round) {
    for (size_t i = round; i < objects.size(); i += 3) {
      if (numbers.Find(&objects[i]) != 0) continue;
      numbers.Insert(&objects[i], next);
      expected[&objects[i]] = next++;
    }
    for (size_t i = round * 7; i < objects.size(); i += 5) {
      numbers.Erase(&objects[i]);
      expected.erase(&objects[i]);
    }
    ASSERT_EQ(numbers.size(), expected.size());
    for (size_t i = 0; i < objects.size(); ++i) {
      const auto found = expected.find(&objects[i]);
      ASSERT_EQ(numbers.Find(&objects[i]), found == expected.end() ? 0u : found->second) << round << " " << i;
    }
  }
}

// What a read builds is bounded by the archive's size: a record that may stand for many objects
// without bytes of their own is charged for them.
TEST(ArchiveObjects, BuildingBeyondTheBudgetEndsTheRead) {
  const std::vector<uint8_t> bytes(1000);
  ArchiveReader reader(bytes);
  reader.ChargeBuilt(ArchiveReader::kBaseBuildBudget);
  reader.ChargeBuilt(1000 * ArchiveReader::kBuildBudgetPerByte);
  try {
    reader.ChargeBuilt(1);
    FAIL() << "charged beyond the budget";
  } catch (const ArchiveError& error) {
    EXPECT_EQ(error.Code(), ArchiveErrorCode::kOverBudget);
  }
}

TEST(ArchiveFields, FixedWidthsLittleEndian) {
  ArchiveWriter w;
  w.WriteU8(0x12);
  w.WriteU16(0x3456);
  w.WriteU32(0x789ABCDE);
  w.WriteI32(-2);
  w.WriteDouble(1.5);
  EXPECT_EQ(ToHex(w.Bytes()), "12 56 34 DE BC 9A 78 FE FF FF FF 00 00 00 00 00 00 F8 3F");
  ArchiveReader r(w.Bytes());
  EXPECT_EQ(r.ReadU8(), 0x12);
  EXPECT_EQ(r.ReadU16(), 0x3456);
  EXPECT_EQ(r.ReadU32(), 0x789ABCDEu);
  EXPECT_EQ(r.ReadI32(), -2);
  EXPECT_EQ(r.ReadDouble(), 1.5);
  EXPECT_THROW(r.ReadU8(), ArchiveError);
}

TEST(VersionGates, CompareAsTextNotNumbers) {
  struct Case {
    const char* version;
    bool aboveNineFifteen;
  };
  for (const Case c : {Case{"9.16", true}, Case{"9.5.1", true}, Case{"9.15", false}, Case{"10.0", false},
                       Case{"9.8.1.0", true}, Case{"9.1", false}}) {
    ArchiveReader r(std::span<const uint8_t>(), c.version);
    EXPECT_EQ(r.VersionAbove("9.15"), c.aboveNineFifteen) << c.version;
  }
  EXPECT_LT(CompareVersionText("9.16", "9.5"), 0);
  EXPECT_LT(CompareVersionText("9.16", "9.7.2.0"), 0);
  EXPECT_GT(CompareVersionText("6.595", "6.58"), 0);
  EXPECT_LT(CompareVersionText("9.8", "9.8.0.0"), 0);  // a prefix sorts first
  EXPECT_TRUE(VersionAtLeast("7.8", "7.8"));
  EXPECT_TRUE(VersionAtMost("7.8", "7.8"));
  EXPECT_FALSE(VersionBelow("7.8", "7.8"));
}

TEST(VersionGates, VersionBelongsToEachReader) {
  ArchiveReader old(std::span<const uint8_t>(), "6.1");
  ArchiveReader current{std::span<const uint8_t>()};
  EXPECT_EQ(old.Version(), "6.1");
  EXPECT_EQ(current.Version(), "9.8.1.0");
}

}  // namespace
}  // namespace vornel
