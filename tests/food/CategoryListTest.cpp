#include <gtest/gtest.h>

#include "FoodTestSupport.h"
#include "food/DiaryNameList.h"

namespace {

std::vector<WString> Names(const CategoryList& list) {
  std::vector<WString> names;
  for (const NamedId& e : list.Entries()) names.push_back(e.name);
  return names;
}

bool LoadFrom(CategoryList& list, const WString& text) {
  XMLDoc doc;
  StartReading(doc, text);
  return list.Load(doc);
}

TEST(CategoryList, SavesTheCategoriesElement) {
  CategoryList list;
  list.Add(TXT("Vegetables"), 7);
  list.Add(TXT("Dairy & Eggs"), 2);
  XMLDoc doc;
  list.Save(doc);
  EXPECT_EQ(Lines({TXT("<CATEGORIES>"), TXT("<CATEGORY>"), TXT("<NAME>Dairy &amp; Eggs</NAME>"),
                   TXT("<ID>2</ID>"), TXT("</CATEGORY>"), TXT("<CATEGORY>"), TXT("<NAME>Vegetables</NAME>"),
                   TXT("<ID>7</ID>"), TXT("</CATEGORY>"), TXT("</CATEGORIES>")}),
            doc.Output());
  CategoryList read;
  EXPECT_TRUE(LoadFrom(read, doc.Output()));
  EXPECT_EQ(Names(list), Names(read));
  EXPECT_EQ(7u, read.IdByName(TXT("vegetables")));
}

TEST(CategoryList, LoadKeepsFileOrderAndTheFirstOfRepeatedIds) {
  CategoryList list;
  const WString text = Lines({TXT("<CATEGORIES>"), TXT("<CATEGORY>"),         TXT("<NAME>Zest</NAME>"),
                              TXT("<ID>4</ID>"),   TXT("</CATEGORY>"),        TXT("<CATEGORY>"),
                              TXT("<ID>4</ID>"),   TXT("<NAME>Again</NAME>"), TXT("</CATEGORY>"),
                              TXT("<CATEGORY>"),   TXT("<NAME>No id</NAME>"), TXT("</CATEGORY>"),
                              TXT("<CATEGORY>"),   TXT("<ID>9</ID>"),         TXT("</CATEGORY>"),
                              TXT("<CATEGORY>"),   TXT("<NAME>Apple</NAME>"), TXT("<ID>5</ID>"),
                              TXT("</CATEGORY>"),  TXT("</CATEGORIES>"),      TXT("<NEXT/>")});
  EXPECT_TRUE(LoadFrom(list, text));
  EXPECT_EQ((std::vector<WString>{TXT("Zest"), TXT("Apple")}), Names(list));
  EXPECT_FALSE(LoadFrom(list, Lines({TXT("<CATEGORIES>"), TXT("<CATEGORY>")})));  // cut off
}

// Id 0 stands for all categories in filters: no entry read from a file carries it, whether it
// is written as 0, left empty or not a number; and fields outside any CATEGORY element add nothing.
TEST(CategoryList, IdZeroAndStrayFieldsNameNoCategory) {
  CategoryList list;
  EXPECT_TRUE(LoadFrom(
      list, Lines({TXT("<CATEGORIES>"), TXT("<NAME>Stray</NAME>"), TXT("<ID>6</ID>"),    TXT("</CATEGORY>"),
                   TXT("<CATEGORY>"),   TXT("<NAME>Zero</NAME>"),  TXT("<ID>0</ID>"),    TXT("</CATEGORY>"),
                   TXT("<CATEGORY>"),   TXT("<NAME>Empty</NAME>"), TXT("<ID/>"),         TXT("</CATEGORY>"),
                   TXT("<CATEGORY>"),   TXT("<NAME>Word</NAME>"),  TXT("<ID>none</ID>"), TXT("</CATEGORY>"),
                   TXT("<CATEGORY>"),   TXT("<NAME></NAME>"),      TXT("<ID>8</ID>"),    TXT("</CATEGORY>"),
                   TXT("<CATEGORY>"),   TXT("<NAME>Kept</NAME>"),  TXT("<ID>7</ID>"),    TXT("</CATEGORY>"),
                   TXT("</CATEGORIES>")})));
  EXPECT_EQ((std::vector<WString>{TXT("Kept")}), Names(list));
  EXPECT_EQ(nullptr, list.NameById(0));
  EXPECT_EQ(0u, list.IdByName(TXT("Zero")));
  EXPECT_FALSE(list.Remove(0));
  EXPECT_EQ(7u, list.HighestId());
  list.Clear();
  EXPECT_EQ(0u, list.HighestId());
  // A record in no category shows an empty category cell.
  Ingredient food;
  food.catId = 0;
  WString cell;
  food.ColumnText(cell, kColumnCategory, list, NutrientFormat{}, false, false);
  EXPECT_EQ(TXT(""), cell);
}

TEST(CategoryList, AddAndFindOrCreateDrawIdsFromTheCounter) {
  CategoryList list;
  uint32_t counter = 10;
  EXPECT_EQ(11u, list.AddNew(TXT("Fruit"), counter));
  EXPECT_EQ(0u, list.AddNew(TXT("FRUIT"), counter));
  EXPECT_EQ(12u, counter);  // the counter moved on anyway
  EXPECT_EQ(11u, list.FindOrCreate(TXT("fruit"), counter));
  EXPECT_EQ(13u, list.FindOrCreate(TXT("Bread"), counter));
  EXPECT_EQ((std::vector<WString>{TXT("Bread"), TXT("Fruit")}), Names(list));
  EXPECT_EQ(13u, list.HighestId());
}

TEST(CategoryList, RenameKeepsTheIdAndRefusesAnotherCategorysName) {
  CategoryList list;
  list.Add(TXT("fruit"), 3);
  list.Add(TXT("Dairy"), 4);
  list.Add(TXT("Meat"), 5);
  EXPECT_TRUE(list.Rename(3, TXT("Fruit")));
  EXPECT_EQ(3u, list.IdByName(TXT("Fruit")));
  EXPECT_FALSE(list.Rename(3, TXT("meat")));
  EXPECT_TRUE(list.Rename(4, TXT("Zucchini")));
  EXPECT_EQ((std::vector<WString>{TXT("Fruit"), TXT("Meat"), TXT("Zucchini")}), Names(list));
  EXPECT_FALSE(list.Rename(99, TXT("Other")));
  EXPECT_TRUE(list.Remove(5));
  EXPECT_FALSE(list.Remove(5));
}

TEST(DiaryNameList, WritesAgeAndSexOnlyWhenSet) {
  DiaryNameList diaries;
  diaries.Add(DiaryName{TXT("Ann"), 1, 6, kSexFemale});
  diaries.Add(TXT("Bob"), 2);
  XMLDoc doc;
  diaries.Save(doc);
  const WString expected =
      Lines({TXT("<CATEGORIES>"), TXT("<DIARYNAME>"), TXT("<NAME>Ann</NAME>"), TXT("<ID>1</ID>"),
             TXT("<AGE>6</AGE>"), TXT("<SEX>1</SEX>"), TXT("</DIARYNAME>"), TXT("<DIARYNAME>"),
             TXT("<NAME>Bob</NAME>"), TXT("<ID>2</ID>"), TXT("</DIARYNAME>"), TXT("</CATEGORIES>")});
  EXPECT_EQ(expected, doc.Output());

  DiaryNameList read;
  EXPECT_TRUE(LoadFrom(read, doc.Output()));
  const DiaryName ann = read.Find(1), bob = read.Find(2);
  EXPECT_EQ(TXT("Ann"), ann.name);
  EXPECT_EQ(6u, ann.ageBand);
  EXPECT_EQ(kSexFemale, ann.sex);
  EXPECT_EQ(kAgeBandUnspecified, bob.ageBand);
  EXPECT_EQ(kSexUnspecified, bob.sex);
}

TEST(DiaryNameList, DropsEntriesWithoutAnId) {
  DiaryNameList diaries;
  EXPECT_TRUE(LoadFrom(
      diaries, Lines({TXT("<CATEGORIES>"), TXT("<DIARYNAME>"), TXT("<NAME>A</NAME>"), TXT("</DIARYNAME>"),
                      TXT("<DIARYNAME>"), TXT("<NAME>B</NAME>"), TXT("<ID/>"), TXT("</DIARYNAME>"),
                      TXT("<DIARYNAME>"), TXT("<NAME>C</NAME>"), TXT("<ID>8</ID>"), TXT("<SEX>2</SEX>"),
                      TXT("</DIARYNAME>"), TXT("</CATEGORIES>")})));
  EXPECT_EQ((std::vector<WString>{TXT("C")}), Names(diaries));
  EXPECT_EQ(kSexMale, diaries.Find(8).sex);
  EXPECT_EQ(0u, diaries.Find(1).id);
}

TEST(DiaryNameList, UpdateRenamesAndSetsThePerson) {
  DiaryNameList diaries;
  diaries.Add(TXT("Ann"), 1);
  EXPECT_TRUE(diaries.Update(DiaryName{TXT("Anne"), 1, 3, kSexFemale}));
  EXPECT_EQ(TXT("Anne"), diaries.Find(1).name);
  EXPECT_EQ(3u, diaries.Find(1).ageBand);
  EXPECT_TRUE(diaries.Remove(1));
  diaries.Add(TXT("Anne"), 1);
  EXPECT_EQ(0u, diaries.Find(1).ageBand);  // a removed diary's person does not come back
}

TEST(DiaryNameList, AgeBandTexts) {
  const std::vector<WString> bands = {TXT("-"),       TXT("9 - 13"),  TXT("13 - 18"), TXT("18 - 30"),
                                      TXT("30 - 50"), TXT("50 - 70"), TXT("70+")};
  for (uint32_t code = 0; code < kAgeBandCount; ++code) EXPECT_EQ(bands[code], AgeBandText(code, TXT("-")));
  EXPECT_EQ(TXT(""), AgeBandText(kAgeBandCount, TXT("-")));
}

}  // namespace
