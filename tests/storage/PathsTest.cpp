#include <gtest/gtest.h>

#include "storage/Paths.h"

TEST(Paths, FolderOfCutsAfterTheLastSeparatorOfEitherKind) {
  EXPECT_EQ(WString(TXT("C:\\data/pics\\")), FolderOf(TXT("C:\\data/pics\\Egg.jpg")));
  EXPECT_EQ(WString(TXT("C:\\data\\pics\\")), FolderOf(TXT("C:\\data\\pics/Egg.jpg")));
  EXPECT_EQ(WString(TXT("C:\\data\\")), FolderOf(TXT("C:\\data\\")));
  EXPECT_EQ(WString(TXT("Egg.jpg")), FolderOf(TXT("Egg.jpg")));
  EXPECT_EQ(WString(), FolderOf(WString()));
}

TEST(Paths, FileNameAndBaseName) {
  EXPECT_EQ(WString(TXT("Egg.jpg")), FileNameOf(TXT("C:\\data/pics\\Egg.jpg")));
  EXPECT_EQ(WString(TXT("Egg.jpg")), FileNameOf(TXT("C:/data\\pics/Egg.jpg")));
  EXPECT_EQ(WString(TXT("Egg.jpg")), FileNameOf(TXT("Egg.jpg")));
  EXPECT_EQ(WString(), FileNameOf(TXT("C:\\data\\")));
  EXPECT_EQ(WString(TXT("Recipes.xml")), BaseNameOf(TXT("C:\\d\\Recipes.xml.bak")));
  EXPECT_EQ(WString(TXT("Recipes")), BaseNameOf(TXT("Recipes")));
  EXPECT_EQ(WString(TXT("Recipes")), BaseNameOf(TXT("C:\\my.data\\Recipes")));
  EXPECT_EQ(WString(), BaseNameOf(TXT(".profile")));
}

TEST(Paths, EnsureTrailing) {
  EXPECT_EQ(WString(TXT("C:\\data\\")), EnsureTrailing(TXT("C:\\data"), '\\'));
  EXPECT_EQ(WString(TXT("C:\\data\\")), EnsureTrailing(TXT("C:\\data\\"), '\\'));
  EXPECT_EQ(WString(), EnsureTrailing(WString(), '\\'));
}

TEST(Paths, PlainFileNameNeverLeavesTheFolderItIsJoinedTo) {
  const std::pair<const WChar*, const WChar*> cases[] = {
      {TXT("apple.jpg"), TXT("apple.jpg")},
      {TXT("..\\..\\Documents\\thesis.doc"), TXT("thesis.doc")},
      {TXT("../../etc/passwd"), TXT("passwd")},
      {TXT("C:thesis.doc"), TXT("thesis.doc")},
      {TXT("D:\\Photos\\pear.png"), TXT("pear.png")},
      {TXT("\\\\server\\share\\plum.gif"), TXT("plum.gif")},
      {TXT(".."), TXT("")},
      {TXT("Images\\.."), TXT("")},
      {TXT("."), TXT("")},
      {TXT("dir/"), TXT("")},
      {TXT("..pear.png"), TXT("..pear.png")},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(WString(name), PlainFileName(path)) << ToUtf8(path);
}
