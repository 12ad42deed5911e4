#include <gtest/gtest.h>

#include "storage/NamedIdList.h"

namespace {

std::vector<WString> Names(const NamedIdList& list) {
  std::vector<WString> names;
  for (const NamedId& e : list) names.push_back(e.name);
  return names;
}

TEST(NamedIdList, SortedInsertIgnoresCaseAndRefusesDuplicates) {
  NamedIdList list;
  EXPECT_TRUE(list.Add(TXT("Dairy"), 1));
  EXPECT_TRUE(list.Add(TXT("Vegetables"), 2));
  EXPECT_EQ(1u, list.Insert(TXT("Fruit"), 3));
  EXPECT_EQ(0u, list.Insert(TXT("apples"), 4));
  EXPECT_FALSE(list.Add(TXT("fruit"), 5));
  EXPECT_EQ(NamedIdList::kNone, list.Insert(TXT("DAIRY"), 6));
  EXPECT_EQ((std::vector<WString>{TXT("apples"), TXT("Dairy"), TXT("Fruit"), TXT("Vegetables")}),
            Names(list));
}

TEST(NamedIdList, UnsortedAppendsAndLoadersSkipTheNameCheck) {
  NamedIdList list(false);
  list.Add(TXT("b"), 1);
  list.Add(TXT("a"), 2);
  list.Append(TXT("B"), 3);
  EXPECT_EQ((std::vector<WString>{TXT("b"), TXT("a"), TXT("B")}), Names(list));
  EXPECT_EQ(1u, list.IdByName(TXT("B")));  // first match in list order
}

TEST(NamedIdList, LookupsByNameIdAndPrefix) {
  NamedIdList list;
  list.Add(TXT("clove"), 17);
  list.Add(TXT("cup"), 2);
  list.Add(TXT("gallon"), 5);
  EXPECT_EQ(2u, list.IdByName(TXT("CUP")));
  EXPECT_EQ(0u, list.IdByName(TXT("cu")));
  EXPECT_EQ(17u, list.IdByName(TXT("c"), 1));
  EXPECT_EQ(2u, list.IdByName(TXT("cu"), 2));
  EXPECT_EQ(5u, list.IdByName(TXT("Gal"), 3));
  EXPECT_EQ(0u, list.IdByName(TXT("cups"), 4));  // a longer word does not match a shorter name
  ASSERT_NE(nullptr, list.NameById(5));
  EXPECT_EQ(TXT("gallon"), *list.NameById(5));
  EXPECT_EQ(nullptr, list.NameById(99));
  EXPECT_EQ(17u, list.HighestId());
  list.RemoveAt(list.IndexOfId(17));
  EXPECT_EQ(5u, list.HighestId());
  list.Clear();
  EXPECT_EQ(0u, list.HighestId());
}

TEST(NamedIdList, HeaderAtTopShiftsComboIndexes) {
  NamedIdList list;
  list.Add(TXT("Dairy"), 1);
  list.SetHeader(HeaderPosition::Top);
  EXPECT_EQ(1u, list.ComboIndex(0));
  list.SetHeader(HeaderPosition::Bottom);
  EXPECT_EQ(0u, list.ComboIndex(0));
}

}  // namespace
