#include <gtest/gtest.h>

#include "FoodTestSupport.h"
#include "food/DiaryNameList.h"

namespace {

// The entries as "name=id" joined by '|'.
std::string Entries(const CategoryList& list) {
  std::string text;
  for (const NamedId& e : list.Entries())
    text += (text.empty() ? "" : "|") + ToUtf8(e.name) + '=' + std::to_string(e.id);
  return text;
}

bool LoadFrom(CategoryList& list, const WChar* lines, uint32_t& counter) {
  XMLDoc doc;
  StartReading(doc, Lines(lines));
  return list.Load(doc, counter);
}
bool LoadFrom(CategoryList& list, const WChar* lines) {
  uint32_t counter = 0;
  return LoadFrom(list, lines, counter);
}

TEST(CategoryList, SavesTheCategoriesElement) {
  CategoryList list, read;
  list.Add(TXT("Vegetables"), 7);
  list.Add(TXT("Dairy & Eggs"), 2);
  XMLDoc doc;
  list.Save(doc);
  EXPECT_EQ(
      Lines(TXT("<CATEGORIES>|<CATEGORY>|<NAME>Dairy &amp; Eggs</NAME>|<ID>2</ID>|</CATEGORY>|<CATEGORY>|"
                "<NAME>Vegetables</NAME>|<ID>7</ID>|</CATEGORY>|</CATEGORIES>")),
      doc.Output());
  EXPECT_TRUE(LoadFrom(read, doc.Output().c_str()));
  EXPECT_EQ("Dairy & Eggs=2|Vegetables=7", Entries(read));
  EXPECT_EQ(7u, read.IdByName(TXT("vegetables")));
}

// File order, the first of repeated ids. Id 0 stands for all categories in filters: no entry read
// from a file carries it, one written without an id, as 0 or not a number gets the next counter
// value after the element's own ids; entries without a name and fields outside any CATEGORY
// element add nothing.
TEST(CategoryList, LoadKeepsFileOrderAndTheFirstOfRepeatedIds) {
  CategoryList list;
  uint32_t counter = 0;
  EXPECT_TRUE(
      LoadFrom(list,
               TXT("<CATEGORIES>|<NAME>Stray</NAME>|<ID>6</ID>|</CATEGORY>|<CATEGORY>|<NAME>Zest</NAME>|"
                   "<ID>4</ID>|</CATEGORY>|<CATEGORY>|<ID>4</ID>|<NAME>Again</NAME>|</CATEGORY>|"
                   "<CATEGORY>|<NAME>No id</NAME>|</CATEGORY>|<CATEGORY>|<ID>9</ID>|</CATEGORY>|"
                   "<CATEGORY>|<NAME>Zero</NAME>|<ID>0</ID>|</CATEGORY>|<CATEGORY>|<NAME>Empty</NAME>|"
                   "<ID/>|</CATEGORY>|<CATEGORY>|<NAME>Word</NAME>|<ID>none</ID>|</CATEGORY>|"
                   "<CATEGORY>|<NAME></NAME>|<ID>8</ID>|</CATEGORY>|<CATEGORY>|<NAME>Apple</NAME>|"
                   "<ID>5</ID>|</CATEGORY>|</CATEGORIES>|<NEXT/>"),
               counter));
  EXPECT_EQ("Zest=4|No id=10|Zero=11|Empty=12|Word=13|Apple=5", Entries(list));
  EXPECT_EQ(nullptr, list.NameById(0));
  EXPECT_FALSE(LoadFrom(list, TXT("<CATEGORIES>|<CATEGORY>")));  // cut off
}

// Ids from files raise the counter up to 4294967294. A category of id 4294967295 (also written
// -1), which would make the next new id wrap to 0, gets a new id, and the records of the same file
// that name it follow it; the first of two such categories wins, as for any repeated id.
TEST(CategoryList, ACategoryOfTheTopIdGetsANewOneThatItsRecordsFollow) {
  CategoryList list;
  uint32_t counter = 3;
  EXPECT_TRUE(
      LoadFrom(list,
               TXT("<CATEGORIES>|<CATEGORY>|<NAME>Foreign</NAME>|<ID>4294967295</ID>|</CATEGORY>|"
                   "<CATEGORY>|<NAME>Dairy</NAME>|<ID>4</ID>|</CATEGORY>|<CATEGORY>|<NAME>Again</NAME>|"
                   "<ID>-1</ID>|</CATEGORY>|</CATEGORIES>"),
               counter));
  EXPECT_EQ("Foreign=5|Dairy=4", Entries(list));
  EXPECT_EQ(5u, counter);
  for (const WChar* id : {TXT("-1"), TXT("4294967295")}) {
    Ingredient food;
    XMLDoc doc;
    StartReading(doc,
                 Lines(TXT("<FOOD>|<CATID>") + WString(id) + TXT("</CATID>|<FOODID>9</FOODID>|</FOOD>")));
    ASSERT_TRUE(ReadFood(doc, food, list, counter));
    EXPECT_EQ(5u, food.catId) << ToUtf8(id);
  }
  LoadFrom(list,
           TXT("<CATEGORIES>|<CATEGORY>|<NAME>Top</NAME>|<ID>4294967294</ID>|</CATEGORY>|</CATEGORIES>"),
           counter);
  EXPECT_EQ(4294967294u, counter);
}

// New categories draw their ids from the counter, which moves on even for a refused name; a
// rename keeps the id and refuses another category's name.
TEST(CategoryList, AddAndFindOrCreateDrawIdsFromTheCounter) {
  CategoryList list;
  uint32_t counter = 10;
  EXPECT_EQ(11u, list.AddNew(TXT("Fruit"), counter));
  EXPECT_EQ(0u, list.AddNew(TXT("FRUIT"), counter));
  EXPECT_EQ(12u, counter);
  EXPECT_EQ(11u, list.FindOrCreate(TXT("fruit"), counter));
  EXPECT_EQ(13u, list.FindOrCreate(TXT("Bread"), counter));
  EXPECT_EQ("Bread=13|Fruit=11", Entries(list));
  list.Add(TXT("meat"), 5);
  EXPECT_TRUE(list.Rename(11, TXT("fruit")));
  EXPECT_FALSE(list.Rename(11, TXT("MEAT")));
  EXPECT_TRUE(list.Rename(13, TXT("Zucchini")));
  EXPECT_EQ("fruit=11|meat=5|Zucchini=13", Entries(list));
  EXPECT_FALSE(list.Rename(99, TXT("Other")));
  EXPECT_TRUE(list.Remove(5));
  EXPECT_FALSE(list.Remove(5));
}

// Age and sex are written only when set; entries without an id get new ones.
TEST(DiaryNameList, WritesAgeAndSexOnlyWhenSet) {
  DiaryNameList diaries, read, partial;
  diaries.Add(DiaryName{TXT("Ann"), 1, 6, kSexFemale});
  diaries.Add(TXT("Bob"), 2);
  XMLDoc doc;
  diaries.Save(doc);
  EXPECT_EQ(
      Lines(TXT("<CATEGORIES>|<DIARYNAME>|<NAME>Ann</NAME>|<ID>1</ID>|<AGE>6</AGE>|<SEX>1</SEX>|</DIARYNAME>|"
                "<DIARYNAME>|<NAME>Bob</NAME>|<ID>2</ID>|</DIARYNAME>|</CATEGORIES>")),
      doc.Output());
  EXPECT_TRUE(LoadFrom(read, doc.Output().c_str()));
  const DiaryName ann = read.Find(1), bob = read.Find(2);
  EXPECT_EQ(TXT("Ann"), ann.name);
  EXPECT_EQ((std::vector<uint32_t>{6, kSexFemale, kAgeBandUnspecified, kSexUnspecified}),
            (std::vector<uint32_t>{ann.ageBand, ann.sex, bob.ageBand, bob.sex}));
  EXPECT_TRUE(
      LoadFrom(partial, TXT("<CATEGORIES>|<DIARYNAME>|<NAME>A</NAME>|</DIARYNAME>|<DIARYNAME>|<NAME>B</NAME>|"
                            "<ID/>|</DIARYNAME>|<DIARYNAME>|<NAME>C</NAME>|<ID>8</ID>|<SEX>2</SEX>|"
                            "</DIARYNAME>|</CATEGORIES>")));
  EXPECT_EQ("A=9|B=10|C=8", Entries(partial));
  EXPECT_EQ(kSexMale, partial.Find(8).sex);
  EXPECT_EQ(0u, partial.Find(1).id);
}

// A removed diary's person does not come back with a new diary of its id.
TEST(DiaryNameList, UpdateRenamesAndSetsThePerson) {
  DiaryNameList diaries;
  diaries.Add(TXT("Ann"), 1);
  EXPECT_TRUE(diaries.Update(DiaryName{TXT("Anne"), 1, 3, kSexFemale}));
  EXPECT_EQ(TXT("Anne"), diaries.Find(1).name);
  EXPECT_EQ(3u, diaries.Find(1).ageBand);
  EXPECT_TRUE(diaries.Remove(1));
  diaries.Add(TXT("Anne"), 1);
  EXPECT_EQ(0u, diaries.Find(1).ageBand);
  for (uint32_t code = 0; code <= kAgeBandCount; ++code)
    EXPECT_EQ(Split(TXT("-|9 - 13|13 - 18|18 - 30|30 - 50|50 - 70|70+|"))[code], AgeBandText(code, TXT("-")));
}

}  // namespace
