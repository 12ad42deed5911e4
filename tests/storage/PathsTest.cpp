#include <gtest/gtest.h>

#include "storage/Paths.h"

// "\" and "/" both separate folders; a plain name never leaves the folder it is joined to. Each
// row: the operation, a path and its result.
TEST(Paths, FolderFileBaseAndPlainNames) {
  using Part = WString (*)(const WString&);
  const Part folder = FolderOf, file = FileNameOf, base = BaseNameOf, plain = PlainFileName;
  const Part trailing = [](const WString& path) { return EnsureTrailing(path, '\\'); };
  const struct {
    Part part;
    const char* path;
    const char* result;
  } cases[] = {
      {folder, "C:\\data\\pics/Egg.jpg", "C:\\data\\pics\\"},
      {folder, "Egg.jpg", "Egg.jpg"},
      {file, "C:/data/pics\\Egg.jpg", "Egg.jpg"},
      {file, "Egg.jpg", "Egg.jpg"},
      {file, "C:\\data\\", ""},
      {base, "C:\\d\\Recipes.xml.bak", "Recipes.xml"},
      {base, "C:\\my.data\\Recipes", "Recipes"},
      {base, ".profile", ""},
      {trailing, "C:\\data", "C:\\data\\"},
      {trailing, "C:\\data\\", "C:\\data\\"},
      {trailing, "", ""},
      {plain, "..\\..\\Documents\\thesis.doc", "thesis.doc"},
      {plain, "../../etc/passwd", "passwd"},
      {plain, "C:thesis.doc", "thesis.doc"},
      {plain, "..", ""},
      {plain, "Images\\..", ""},
      {plain, ".", ""},
      {plain, "dir/", ""},
      {plain, "..pear.png", "..pear.png"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.result), c.part(FromUtf8(c.path))) << c.path;
}
