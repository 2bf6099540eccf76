#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/collections/OwnedArray.h"
#include "platform/text/CompactString.h"

namespace vornel {
namespace {

static_assert(sizeof(OwnedArray<int>) == sizeof(void*));
static_assert(sizeof(OwnedArray<int, true>) == 2 * sizeof(void*));
static_assert(sizeof(CompactString) == sizeof(void*));

// The values of an array, `nullopt` for a null entry.
using Values = std::vector<std::optional<int>>;

template <typename Array>
Values ValuesOf(const Array& array) {
  Values values;
  for (const auto& item : array.items()) values.push_back(item ? std::optional<int>(*item) : std::nullopt);
  return values;
}

template <typename Array>
void Fill(Array& array, const Values& values) {
  for (const auto& v : values) array.push_back(v ? std::make_unique<int>(*v) : nullptr);
}

// The elements stand inside the array object itself.
template <typename Array>
bool HoldsInline(const Array& array) {
  const auto* at = reinterpret_cast<const char*>(array.items().data());
  const auto* self = reinterpret_cast<const char*>(&array);
  return at >= self && at < self + sizeof(array);
}

// begin/end span exactly the elements, whatever the storage.
template <typename Array>
void ExpectContiguous(const Array& array) {
  ASSERT_EQ(static_cast<size_t>(array.items().end() - array.items().begin()), array.size());
  for (size_t i = 0; i < array.size(); ++i) EXPECT_EQ(array.items().begin()[i].get(), array.at(i));
}

template <typename Inline>
class OwnedArrayTest : public ::testing::Test {
 public:
  using Array = OwnedArray<int, Inline::value>;
};
using Storages = ::testing::Types<std::false_type, std::true_type>;
TYPED_TEST_SUITE(OwnedArrayTest, Storages);

// Every starting size up to 4, with and without null entries, against std::vector.
const std::vector<Values> kStarts = {
    {}, {1}, {std::nullopt}, {1, 2}, {std::nullopt, 2}, {1, 2, 3}, {1, std::nullopt, 3, 4},
};

TYPED_TEST(OwnedArrayTest, InsertAndEraseAtEveryPositionMatchVector) {
  using Array = typename TestFixture::Array;
  for (const Values& start : kStarts) {
    for (const std::optional<int> item : {std::optional<int>(9), std::optional<int>()}) {
      for (size_t pos = 0; pos <= start.size(); ++pos) {
        Array array;
        Fill(array, start);
        Values expected = start;
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(pos), item);
        int* inserted = array.insert(pos, item ? std::make_unique<int>(*item) : nullptr);
        EXPECT_EQ(inserted, array.at(pos));
        EXPECT_EQ(ValuesOf(array), expected) << "insert at " << pos << " of " << start.size();
        ExpectContiguous(array);
      }
    }
    for (size_t pos = 0; pos < start.size(); ++pos) {
      Array array;
      Fill(array, start);
      Values expected = start;
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(pos));
      const std::unique_ptr<int> taken = array.release(pos);
      EXPECT_EQ(taken ? std::optional<int>(*taken) : std::nullopt, start[pos]);
      EXPECT_EQ(ValuesOf(array), expected) << "erase at " << pos << " of " << start.size();
      ExpectContiguous(array);
    }
    Array array;
    Fill(array, start);
    EXPECT_THROW(array.insert(start.size() + 1, nullptr), std::out_of_range);
    EXPECT_THROW(array.at(start.size()), std::out_of_range);
    EXPECT_THROW(array.release(start.size()), std::out_of_range);
  }
}

TYPED_TEST(OwnedArrayTest, CopiesDeeplyAndMoves) {
  using Array = typename TestFixture::Array;
  for (const Values& start : kStarts) {
    Array array;
    Fill(array, start);
    const Array copy(array);
    EXPECT_EQ(ValuesOf(copy), start);
    for (size_t i = 0; i < start.size(); ++i) {
      if (start[i]) {
        EXPECT_NE(copy.at(i), array.at(i));
      }
    }
    Array assigned;
    Fill(assigned, {7, 8, 9});
    assigned = copy;
    EXPECT_EQ(ValuesOf(assigned), start);
    ExpectContiguous(assigned);

    Array& self = array;
    array = self;
    EXPECT_EQ(ValuesOf(array), start);
    array = std::move(self);
    EXPECT_EQ(ValuesOf(array), start);

    Array moved(std::move(array));
    EXPECT_EQ(ValuesOf(moved), start);
    ExpectContiguous(moved);
    EXPECT_TRUE(array.empty());  // NOLINT(bugprone-use-after-move): a moved array is empty
    array = std::move(moved);
    EXPECT_EQ(ValuesOf(array), start);
    ExpectContiguous(array);
    array.push_back(std::make_unique<int>(5));  // still usable after the moves
    EXPECT_EQ(*array.back(), 5);
  }
}

TYPED_TEST(OwnedArrayTest, ReplaceAndResizeKeepNullEntries) {
  using Array = typename TestFixture::Array;
  Array array;
  array.push_back(std::make_unique<int>(1));
  EXPECT_EQ(*array.replace(0, nullptr), 1);
  EXPECT_EQ(ValuesOf(array), (Values{std::nullopt}));
  ExpectContiguous(array);
  EXPECT_EQ(array.replace(0, std::make_unique<int>(2)), nullptr);
  EXPECT_EQ(ValuesOf(array), (Values{2}));

  array.items().resize(3);
  EXPECT_EQ(ValuesOf(array), (Values{2, std::nullopt, std::nullopt}));
  array.items().resize(1);
  EXPECT_EQ(ValuesOf(array), (Values{2}));
  array.items().resize(0);
  EXPECT_TRUE(array.empty());
  ExpectContiguous(array);
}

TYPED_TEST(OwnedArrayTest, StandardAlgorithmsOnTheItems) {
  using Array = typename TestFixture::Array;
  Array array;
  Fill(array, {3, 1, std::nullopt, 2, 1, 3, std::nullopt});
  // Null entries first; equal values keep their order.
  std::vector<const int*> ones = {array.at(1), array.at(4)};
  std::stable_sort(array.items().begin(), array.items().end(), [](const auto& a, const auto& b) {
    return (a ? *a : -1) < (b ? *b : -1);
  });
  EXPECT_EQ(ValuesOf(array), (Values{std::nullopt, std::nullopt, 1, 1, 2, 3, 3}));
  EXPECT_EQ(array.at(2), ones[0]);
  EXPECT_EQ(array.at(3), ones[1]);
  EXPECT_EQ(array.IndexOf(ones[1]), 3);
  EXPECT_EQ(std::find(array.items().begin(), array.items().end(), nullptr), array.items().begin());

  auto& items = array.items();
  items.erase(std::remove_if(items.begin(), items.end(), [](const auto& p) { return p == nullptr; }), items.end());
  EXPECT_EQ(ValuesOf(array), (Values{1, 1, 2, 3, 3}));
  EXPECT_EQ(array.RemoveIf([](const auto& p) { return *p != 2; }), 4u);
  EXPECT_EQ(ValuesOf(array), (Values{2}));
  EXPECT_EQ(array.RemoveIf([](const auto& p) { return *p == 2; }), 1u);
  EXPECT_TRUE(array.empty());
  ExpectContiguous(array);
}

TEST(OwnedArrayInline, OneElementStandsInline) {
  OwnedArray<int, true> array;
  EXPECT_EQ(array.items().capacity(), 1u);
  array.reserve(1);
  array.push_back(std::make_unique<int>(1));
  EXPECT_TRUE(HoldsInline(array));
  array.push_back(std::make_unique<int>(2));
  EXPECT_FALSE(HoldsInline(array));
  // Erasing shrinks nothing behind the caller's back; shrink_to_fit moves the last one home.
  array.erase(0);
  EXPECT_FALSE(HoldsInline(array));
  array.items().shrink_to_fit();
  EXPECT_TRUE(HoldsInline(array));
  EXPECT_EQ(ValuesOf(array), (Values{2}));

  // A null entry never stands inline.
  array.clear();
  array.push_back(nullptr);
  EXPECT_FALSE(HoldsInline(array));
  EXPECT_EQ(array.size(), 1u);
  array.items().shrink_to_fit();
  EXPECT_EQ(array.size(), 1u);

  OwnedArray<int, true> one;
  one.push_back(std::make_unique<int>(4));
  const OwnedArray<int, true> copy(one);
  EXPECT_TRUE(HoldsInline(copy));
  one.items().swap(array.items());
  EXPECT_EQ(ValuesOf(one), (Values{std::nullopt}));
  EXPECT_EQ(ValuesOf(array), (Values{4}));
  EXPECT_TRUE(HoldsInline(array));
}

TEST(OwnedArrayInline, AnArrayWithoutElementsHoldsNoBlock) {
  OwnedArray<int> array;
  EXPECT_EQ(array.items().data(), nullptr);
  EXPECT_EQ(array.begin(), array.end());
  array.push_back(std::make_unique<int>(1));
  EXPECT_EQ(array.items().capacity(), 2u);
  for (int i = 2; i <= 100; ++i) array.push_back(std::make_unique<int>(i));
  EXPECT_EQ(*array.at(99), 100);
  EXPECT_LE(array.items().capacity(), 200u);
  array.clear();
  EXPECT_GE(array.items().capacity(), 100u);
  array.items().shrink_to_fit();
  EXPECT_EQ(array.items().data(), nullptr);
}

TEST(CompactString, EmptyHoldsNothingAndEveryByteIsKept) {
  CompactString empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_STREQ(empty.c_str(), "");
  EXPECT_EQ(empty, "");

  const std::string bytes("A\0m7", 4);
  CompactString name(bytes);
  EXPECT_EQ(name.size(), 4u);
  EXPECT_EQ(std::string_view(name), bytes);
  EXPECT_EQ(name.c_str()[4], '\0');
  EXPECT_NE(name, "A");
  EXPECT_LT(name, "B");

  CompactString copy(name);
  EXPECT_EQ(copy, name);
  EXPECT_NE(copy.data(), name.data());
  const CompactString& same = copy;
  copy = same;
  EXPECT_EQ(copy, name);
  copy = copy.view().substr(2);  // assigned from its own bytes
  EXPECT_EQ(copy, "m7");
  CompactString moved(std::move(copy));
  EXPECT_EQ(moved, "m7");
  EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move)
  moved = "";
  EXPECT_TRUE(moved.empty());
  moved = std::string("G");
  EXPECT_EQ(moved.str(), "G");
  moved.clear();
  EXPECT_EQ(moved.size(), 0u);
}

}  // namespace
}  // namespace vornel
