// The options file and the derived paths, on real files; natively and under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "storage/Files.h"
#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"

namespace {

using storage_test::FileText;
using storage_test::WriteText;

class OptionsTest : public ::testing::Test {
 protected:
  WString Folder() const { return folder_.ProgramFolder(); }

  // Options read from a file holding `text`.
  Options ReadOptions(const WString& text) {
    WriteText(Folder() + TXT("MirepanOptions.xml"), text);
    Options options(nullptr, Folder());
    EXPECT_TRUE(options.Read());
    return options;
  }
  WString Written(const Options& options) {
    EXPECT_TRUE(options.Write());
    return FileText(options.optionsPath);
  }

  test_support::ScratchFolder folder_;
};

const WString kDefaultToolbar = TXT("<TOOLBAR>0,1,2,255,15,16,17,255,11,4</TOOLBAR>\r\n");
const WString kDefaultDate = TXT("<MON>1</MON>\r\n<DAY>1</DAY>\r\n<YEAR>2000</YEAR>\r\n");

// Without a file every setting keeps its default, and a first start has nothing to write but the
// window's place, the toolbar, the data folder and the download date.
TEST_F(OptionsTest, DefaultsOfEverySettingAndAFirstStartWritesOnlyWhatChanged) {
  Options o(nullptr, Folder());
  EXPECT_EQ((std::vector<WString>{o.baseFolder, o.optionsPath, o.dbVersion, o.font}),
            (std::vector<WString>{Folder(), Folder() + TXT("MirepanOptions.xml"), TXT(""), TXT("Arial")}));
  EXPECT_EQ(o.toolbarLayout, (std::vector<uint8_t>{0, 1, 2, 255, 15, 16, 17, 255, 11, 4}));
  EXPECT_EQ(o.lastDownload, CalendarDate(2000, 1, 1));
  EXPECT_EQ((std::vector<int>{o.x, o.y, o.width, o.height, o.splitter}), (std::vector<int>{0, 0, 0, 0, 20}));
  EXPECT_EQ(std::make_pair(o.curTab, o.margin), std::make_pair(0u, 0u));
  EXPECT_TRUE(o.autoBackup && o.printFirst && o.printNutrition && o.printSelected && o.roundNumbers &&
              o.showMessages && o.showStatus && o.track);
  EXPECT_FALSE(o.displayPercent || o.printDetails || o.printNutritionFull || o.reloadNow);
  EXPECT_FALSE(o.Read());
  Options saved = o;
  EXPECT_FALSE(o.Differs(saved));
  o.x = 10, o.y = 20, o.width = 800, o.height = 600;  // the window moved
  EXPECT_TRUE(o.Differs(saved));
  EXPECT_EQ(Written(o), TXT("<OPTIONS>\r\n") + kDefaultToolbar +
                            TXT("<X>10</X>\r\n<Y>20</Y>\r\n<WIDTH>800</WIDTH>\r\n<HEIGHT>600</HEIGHT>\r\n") +
                            TXT("<BASEFOLDER>") + Folder() + TXT("</BASEFOLDER>\r\n") + kDefaultDate +
                            TXT("</OPTIONS>\r\n"));
}

// A missing setting keeps its default and an empty element means off; the splitter never reads
// below twenty and a flag is on exactly for the value 1.
TEST_F(OptionsTest, FiveLineExampleReadsAndWritesBackItsThreeValuesAndReadValuesAreChecked) {
  Options o = ReadOptions(
      TXT("<OPTIONS>\r\n<WIDTH>800</WIDTH>\r\n<AUTOBACKUP/>\r\n<FONT>Arial</FONT>\r\n</OPTIONS>\r\n"));
  Options defaults(nullptr, Folder());
  defaults.width = 800;
  defaults.autoBackup = false;
  EXPECT_FALSE(o.Differs(defaults));
  o.baseFolder.clear();
  // The toolbar and the download date are always written, a default font never.
  EXPECT_EQ(Written(o), TXT("<OPTIONS>\r\n") + kDefaultToolbar + TXT("<WIDTH>800</WIDTH>\r\n") +
                            kDefaultDate + TXT("<AUTOBACKUP/>\r\n</OPTIONS>\r\n"));
  EXPECT_EQ(ReadOptions(TXT("<OPTIONS>\r\n<SPLITTER>5</SPLITTER>\r\n</OPTIONS>\r\n")).splitter, 20);
  EXPECT_EQ(ReadOptions(TXT("<OPTIONS>\r\n<SPLITTER>21</SPLITTER>\r\n</OPTIONS>\r\n")).splitter, 21);
  EXPECT_FALSE(ReadOptions(TXT("<OPTIONS><TRACK>true</TRACK></OPTIONS>")).track);
  EXPECT_FALSE(ReadOptions(TXT("<OPTIONS><TRACK>2</TRACK></OPTIONS>")).track);
}

TEST_F(OptionsTest, EverySettingWrittenInOrderAndReadBackEvenAnEmptiedToolbar) {
  Options o(nullptr, Folder());
  o.toolbarLayout = {3, 255, 7};
  o.dbVersion = TXT("nutrients 2.csv");
  o.x = -4, o.y = 5, o.width = 640, o.height = 480, o.splitter = 150;
  o.curTab = 3, o.margin = 12;
  o.baseFolder = TXT("D:\\Food & <Drink>\\");
  o.lastDownload = CalendarDate(2010, 3, 7);
  for (bool* flag :
       {&o.autoBackup, &o.displayPercent, &o.roundNumbers, &o.showStatus, &o.track, &o.printSelected,
        &o.printDetails, &o.printFirst, &o.printNutrition, &o.printNutritionFull})
    *flag = !*flag;
  o.font = TXT("Times New Roman");
  EXPECT_EQ(Written(o),
            TXT("<OPTIONS>\r\n<TOOLBAR>3,255,7</TOOLBAR>\r\n<DBVERSION>nutrients 2.csv</DBVERSION>\r\n"
                "<X>-4</X>\r\n<Y>5</Y>\r\n<WIDTH>640</WIDTH>\r\n<HEIGHT>480</HEIGHT>\r\n"
                "<SPLITTER>150</SPLITTER>\r\n<CURTAB>3</CURTAB>\r\n<MARGIN>12</MARGIN>\r\n"
                "<BASEFOLDER>D:\\Food &amp; &lt;Drink&gt;\\</BASEFOLDER>\r\n"
                "<MON>3</MON>\r\n<DAY>7</DAY>\r\n<YEAR>2010</YEAR>\r\n"
                "<AUTOBACKUP/>\r\n<DISPLAYPERCENT>1</DISPLAYPERCENT>\r\n<ROUNDNUMBERS/>\r\n"
                "<SHOWSTATUS/>\r\n<TRACK/>\r\n<FONT>Times New Roman</FONT>\r\n"
                "<PRINTSELECTED/>\r\n<PRINTDETAILS>1</PRINTDETAILS>\r\n<PRINTFIRST/>\r\n"
                "<PRINTNUTRITION/>\r\n<PRINTNUTRITIONFULL>1</PRINTNUTRITIONFULL>\r\n</OPTIONS>\r\n"));
  Options back(nullptr, Folder());
  ASSERT_TRUE(back.Read());
  EXPECT_FALSE(back.Differs(o));
  EXPECT_EQ(back.baseFolder, TXT("D:\\Food & <Drink>\\"));
  // An emptied toolbar is written as an empty element.
  o.toolbarLayout.clear();
  EXPECT_NE(Written(o).find(TXT("<TOOLBAR/>\r\n")), WString::npos);
  ASSERT_TRUE(back.Read());
  EXPECT_TRUE(back.toolbarLayout.empty());
}

TEST_F(OptionsTest, ReadingIsLenientButAFileOfAnotherKindLeavesTheDefaults) {
  Options o = ReadOptions(
      TXT("<X>99</X>\r\n<OPTIONS>\r\n<width>300</WIDTH>\r\n<HEIGHT></HEIGHT>\r\n<UNKNOWN>7</UNKNOWN>\r\n")
          TXT("<CURTAB>2x</CURTAB>\r\n<YEAR>2012</YEAR>\r\n<MON>11</MON>\r\n<FONT>A&amp;B&quot;</FONT>\r\n")
              TXT("<DBVERSION/>\r\n</OPTIONS>\r\n<Y>99</Y>\r\n"));
  // Outside the root nothing counts, tags compare without regard to case, no value keeps the default.
  EXPECT_EQ((std::vector<int>{o.x, o.y, o.width, o.height}), (std::vector<int>{0, 0, 300, 0}));
  EXPECT_EQ(o.curTab, 2u);
  EXPECT_EQ(o.lastDownload, CalendarDate(2012, 11, 1));  // a missing day stays 1
  EXPECT_EQ(o.font, TXT("A&B"));
  EXPECT_EQ(o.dbVersion, TXT(""));
  // A file of another kind leaves the defaults.
  WriteText(Folder() + TXT("MirepanOptions.xml"),
            TXT("<INGREDIENTLIST>\r\n<WIDTH>5</WIDTH>\r\n</INGREDIENTLIST>\r\n"));
  Options other(nullptr, Folder());
  EXPECT_FALSE(other.Read());
  EXPECT_EQ(other.width, 0);
}

TEST_F(OptionsTest, DiffersSeesEveryKindOfSetting) {
  const Options base(nullptr, Folder());
  const std::vector<std::function<void(Options&)>> changes = {
      [](Options& o) { o.baseFolder += TXT("x\\"); },
      [](Options& o) { o.ingredientImages = TXT("elsewhere\\"); },
      [](Options& o) { o.toolbarLayout.pop_back(); },
      [](Options& o) { o.lastDownload.day = 2; },
      [](Options& o) { o.y = 1; },
      [](Options& o) { o.curTab = 1; },
      [](Options& o) { o.printNutritionFull = true; },
      [](Options& o) { o.reloadNow = true; },
      // Differs compares a list of fields kept by hand: every kind of setting has its row.
      [](Options& o) { o.dbVersion = TXT("a.csv"); },
      [](Options& o) { o.font = TXT("Courier"); },
      [](Options& o) { o.shopListPath = TXT("list.xml"); },
      [](Options& o) { o.splitter = 21; },
      [](Options& o) { o.margin = 1; },
      [](Options& o) { o.showMessages = false; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    Options changed = base;
    EXPECT_FALSE(changed.Differs(base));
    changes[i](changed);
    EXPECT_TRUE(changed.Differs(base)) << "change " << i;
    EXPECT_TRUE(base.Differs(changed)) << "change " << i;
  }
}

// The paths follow the data folder with a backslash added. A catalog kept only beside the program
// moves into the data folder, even a new one.
TEST_F(OptionsTest, DerivedPathsFollowTheDataFolderAndCatalogsKeptOnlyBesideTheProgramMoveThere) {
  const WString data = Folder() + TXT("data\\"), program = Folder() + TXT("program\\");
  ASSERT_TRUE(CreateFolders(data, false) && CreateFolders(program, false));
  WriteText(program + TXT("Ingredients.xml"), TXT("beside"));
  WriteText(program + TXT("Recipes.xml"), TXT("old recipes"));
  WriteText(data + TXT("Recipes.xml"), TXT("recipes"));
  Options o(nullptr, Folder());
  o.baseFolder = Folder() + TXT("data");
  o.DerivePaths(program);
  EXPECT_EQ((std::vector<WString>{data, data + TXT("FoodDiary.xml"), data + TXT("Ingredients.xml"),
                                  data + TXT("Recipes.xml"), data + TXT("ShoppingList.xml"),
                                  data + TXT("Images\\"), data + TXT("Images\\")}),
            (std::vector<WString>{o.baseFolder, o.diaryPath, o.ingredientsPath, o.recipesPath, o.shopListPath,
                                  o.ingredientImages, o.recipeImages}));
  EXPECT_EQ(o.optionsPath, Folder() + TXT("MirepanOptions.xml"));  // the options file never moves
  EXPECT_EQ(FileText(data + TXT("Ingredients.xml")), TXT("beside"));
  EXPECT_FALSE(FileExists(program + TXT("Ingredients.xml")));
  // A catalog already in the data folder stays, and so does the one beside the program.
  EXPECT_EQ(FileText(data + TXT("Recipes.xml")), TXT("recipes"));
  EXPECT_TRUE(FileExists(program + TXT("Recipes.xml")));
  EXPECT_FALSE(FileExists(data + TXT("FoodDiary.xml")));  // missing in both: nothing to move
  // A new data folder is created so that catalogs can move there.
  WriteText(program + TXT("ShoppingList.xml"), TXT("lists"));
  o.baseFolder = Folder() + TXT("new\\place");
  o.DerivePaths(program);
  EXPECT_EQ(FileText(Folder() + TXT("new\\place\\ShoppingList.xml")), TXT("lists"));
  EXPECT_FALSE(FileExists(program + TXT("ShoppingList.xml")));
}

}  // namespace
