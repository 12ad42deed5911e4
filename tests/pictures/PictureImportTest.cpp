// The picture import of the editors and the picture copies of imports and exports, on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "storage/Files.h"
#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "toolkit/PictureImport.h"

using DAVavador::CopyPicture;
using DAVavador::ImportPicture;
using DAVavador::kNoPicture;
using DAVavador::TakeForeignPicture;

namespace {

// The other records of the catalogs, by the picture names they hold.
class OtherRecords : public DAVavador::PictureUsers {
 public:
  bool OtherRecordNames(const WString& fileName) const override {
    for (const WString& name : names)
      if (EqualsNoCase(name, fileName)) return true;
    return false;
  }
  std::set<WString> names;
};

class PictureImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateFolders(images_, false);
    CreateFolders(chosen_, false);
  }

  static void Write(const WString& path, const std::string& bytes) {
    ASSERT_TRUE(storage_test::WriteFile(path, bytes));
  }
  static std::string Contents(const WString& path) { return storage_test::ReadFile(path); }
  // The files of a folder and what they hold.
  static std::map<WString, std::string> Files(const WString& folder) {
    std::map<WString, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(test_support::SystemPath(folder))) {
      const WString name = test_support::FromSystemName(entry.path().filename());
      files[name] = Contents(folder + name);
    }
    return files;
  }

  test_support::ScratchFolder root_;
  const WString images_ = root_ / L"data\\Images\\";
  const WString chosen_ = root_ / L"chosen\\";
  OtherRecords others_;
};

// The record names pear.jpg in the images folder; the user chooses a picture (or none) for it.
TEST_F(PictureImportTest, ChosenPictureReplacesTheRecordsFileUnlessAnotherRecordNamesIt) {
  using FileMap = std::map<WString, std::string>;
  WString slashed = chosen_;
  std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
  const struct {
    WString chosen;
    std::set<WString> others;
    const wchar_t* picture;  // the record's picture afterwards
    FileMap images;          // the images folder afterwards
  } rows[] = {
      {chosen_ + L"apple.jpg", {}, L"apple.jpg", {{L"apple.jpg", "apple"}}},
      {chosen_ + L"apple.jpg", {L"PEAR.JPG"}, L"apple.jpg", {{L"apple.jpg", "apple"}, {L"pear.jpg", "pear"}}},
      {kNoPicture, {}, L"", {}},
      {kNoPicture, {L"pear.jpg"}, L"", {{L"pear.jpg", "pear"}}},
      {L"pear.jpg", {}, L"pear.jpg", {{L"pear.jpg", "pear"}}},  // unchanged: nothing is copied
      {chosen_ + L"pear.jpg", {}, L"pear.jpg", {{L"pear.jpg", "new pear"}}},
      // A case-only change of the images folder's own file keeps it.
      {images_ + L"PEAR.JPG", {}, L"PEAR.JPG", {{L"pear.jpg", "pear"}}},
      // A chosen file that cannot be copied changes nothing: the old picture stays.
      {chosen_ + L"gone.jpg", {}, L"pear.jpg", {{L"pear.jpg", "pear"}}},
      {root_ / L"no folder\\gone.jpg", {}, L"pear.jpg", {{L"pear.jpg", "pear"}}},
      // The name is cut after the last separator of either kind.
      {slashed + L"plum.png", {}, L"plum.png", {{L"plum.png", "plum"}}},
      {L"", {}, L"pear.jpg", {{L"pear.jpg", "pear"}}},
  };
  Write(chosen_ + L"apple.jpg", "apple");
  Write(chosen_ + L"plum.png", "plum");
  Write(chosen_ + L"pear.jpg", "new pear");
  for (const auto& row : rows) {
    std::filesystem::remove_all(test_support::SystemPath(images_));
    CreateFolders(images_, false);
    Write(images_ + L"pear.jpg", "pear");
    others_.names = row.others;
    WString picture = L"pear.jpg";
    ImportPicture(row.chosen, images_, picture, others_);
    EXPECT_EQ(row.picture, picture) << row.chosen;
    EXPECT_EQ(row.images, Files(images_)) << row.chosen;
  }
  EXPECT_EQ(3u, Files(chosen_).size());  // copied, not moved
  WString picture = L"pear.jpg";
  ImportPicture(chosen_ + L"apple.jpg", L"", picture, others_);  // no images folder: nothing changes
  EXPECT_EQ(picture, L"pear.jpg");
  EXPECT_TRUE(FileExists(images_ + L"pear.jpg"));
}

// An imported record names cake.jpg of its own "Images" folder; the user's images folder already
// holds files of that name or not.
TEST_F(PictureImportTest, AForeignPictureNeverReplacesAFileOfTheImagesFolder) {
  using FileMap = std::map<WString, std::string>;
  const struct {
    const wchar_t* name;
    FileMap images;          // before
    bool restore;            // the record comes from the images folder's own catalog (a backup)
    const wchar_t* picture;  // the record's picture afterwards
    FileMap after;
  } rows[] = {
      {L"cake.jpg", {}, false, L"cake.jpg", {{L"cake.jpg", "theirs"}}},
      {L"cake.jpg",
       {{L"cake.jpg", "mine"}},
       false,
       L"cake (2).jpg",
       {{L"cake.jpg", "mine"}, {L"cake (2).jpg", "theirs"}}},
      {L"cake.jpg",
       {{L"cake.jpg", "theirs"}},
       false,
       L"cake.jpg",
       {{L"cake.jpg", "theirs"}}},  // the same bytes
      {L"cake.jpg",
       {{L"cake.jpg", "mine"}, {L"cake (2).jpg", "other"}},
       false,
       L"cake (3).jpg",
       {{L"cake.jpg", "mine"}, {L"cake (2).jpg", "other"}, {L"cake (3).jpg", "theirs"}}},
      {L"cake.jpg",
       {{L"cake.jpg", "mine"}, {L"cake (2).jpg", "theirs"}},
       false,
       L"cake (2).jpg",
       {{L"cake.jpg", "mine"}, {L"cake (2).jpg", "theirs"}}},
      {L"cake", {{L"cake", "mine"}}, false, L"cake (2)", {{L"cake", "mine"}, {L"cake (2)", "theirs"}}},
      {L"gone.jpg", {{L"cake.jpg", "mine"}}, false, L"gone.jpg", {{L"cake.jpg", "mine"}}},
      {L"cake.jpg", {{L"cake.jpg", "mine"}}, true, L"cake.jpg", {{L"cake.jpg", "mine"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.name << " over " << row.images.size() << " files");
    std::filesystem::remove_all(test_support::SystemPath(images_));
    std::filesystem::remove_all(test_support::SystemPath(chosen_));
    CreateFolders(images_, false);
    CreateFolders(chosen_, false);
    for (const auto& [name, bytes] : row.images) Write(images_ + name, bytes);
    Write(chosen_ + L"cake.jpg", "theirs");
    Write(chosen_ + L"cake", "theirs");
    WString picture = row.name;
    const bool taken = TakeForeignPicture(picture, row.restore ? images_ : chosen_, images_);
    EXPECT_EQ(std::tuple(taken, picture, Files(images_)),
              std::tuple(row.picture != WString(L"gone.jpg"), WString(row.picture), row.after));
  }
}

TEST_F(PictureImportTest,
       AForeignPathTouchesNothingOutsideTheImagesFolderMissingFoldersAreCreatedAndCopiesOverwrite) {
  // A downloaded recipe named "..\\..\\thesis.doc" (two folders above the images folder).
  Write(root_ / L"thesis.doc", "years of work");
  Write(images_ + L"thesis.doc", "a picture of that name");
  Write(chosen_ + L"apple.jpg", "apple");
  for (const WString& foreign : {WString(L"..\\..\\thesis.doc"), root_ / L"thesis.doc", WString(L"..")}) {
    WString picture = foreign;
    ImportPicture(chosen_ + L"apple.jpg", images_, picture, others_);
    EXPECT_EQ(picture, L"apple.jpg");
    EXPECT_EQ(Contents(root_ / L"thesis.doc"), "years of work");
  }
  EXPECT_FALSE(FileExists(images_ + L"thesis.doc"));  // the images folder's own file of that name went
  EXPECT_FALSE(CopyPicture(L"..\\..\\thesis.doc", images_, chosen_));
  EXPECT_FALSE(FileExists(chosen_ + L"thesis.doc"));
  EXPECT_TRUE(CopyPicture(L"..\\apple.jpg", chosen_, images_ + L"copies\\"));
  EXPECT_EQ(Contents(images_ + L"copies\\apple.jpg"), "apple");
  // Missing folders are created, and copies overwrite.
  Write(chosen_ + L"fig.gif", "fig");
  WString folder = root_ / L"new\\deeper\\Images\\";
  WString picture;
  ImportPicture(chosen_ + L"fig.gif", folder, picture, others_);
  EXPECT_EQ(picture, L"fig.gif");
  EXPECT_EQ(Contents(folder + L"fig.gif"), "fig");
  // A copy creates its target folder too, and overwrites.
  Write(images_ + L"kiwi.jpg", "kiwi");
  WString exportImages = root_ / L"export\\Images\\";
  EXPECT_TRUE(CopyPicture(L"kiwi.jpg", images_, exportImages));
  EXPECT_EQ(Contents(exportImages + L"kiwi.jpg"), "kiwi");
  Write(images_ + L"kiwi.jpg", "ripe kiwi");
  EXPECT_TRUE(CopyPicture(L"kiwi.jpg", images_, exportImages));
  EXPECT_EQ(Contents(exportImages + L"kiwi.jpg"), "ripe kiwi");
  EXPECT_FALSE(CopyPicture(L"absent.jpg", images_, exportImages));
  EXPECT_FALSE(CopyPicture(L"", images_, exportImages));
}

}  // namespace
