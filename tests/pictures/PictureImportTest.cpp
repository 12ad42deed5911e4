// The picture import of the editors and the picture copies of imports and exports, on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "storage/Files.h"
#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "toolkit/PictureImport.h"

using DAVavador::CopyPicture;
using DAVavador::ImportPicture;
using DAVavador::kNoPicture;

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

  test_support::ScratchFolder root_;
  const WString images_ = root_ / L"data\\Images\\";
  const WString chosen_ = root_ / L"chosen\\";
  OtherRecords others_;
};

TEST_F(PictureImportTest, ChosenPictureReplacesTheOldOne) {
  Write(images_ + L"pear.jpg", "pear");
  Write(chosen_ + L"apple.jpg", "apple");
  WString picture = L"pear.jpg";
  ImportPicture(chosen_ + L"apple.jpg", images_, picture, others_);
  EXPECT_EQ(picture, L"apple.jpg");
  EXPECT_FALSE(FileExists(images_ + L"pear.jpg"));
  EXPECT_EQ(Contents(images_ + L"apple.jpg"), "apple");
  EXPECT_TRUE(FileExists(chosen_ + L"apple.jpg"));  // copied, not moved
}

TEST_F(PictureImportTest, PictureAnotherRecordNamesIsKept) {
  Write(images_ + L"pear.jpg", "pear");
  Write(chosen_ + L"apple.jpg", "apple");
  others_.names = {L"PEAR.JPG"};
  WString picture = L"pear.jpg";
  ImportPicture(chosen_ + L"apple.jpg", images_, picture, others_);
  EXPECT_EQ(picture, L"apple.jpg");
  EXPECT_EQ(Contents(images_ + L"pear.jpg"), "pear");

  ImportPicture(kNoPicture, images_, picture, others_);  // apple is named by nobody else
  EXPECT_EQ(picture, L"");
  EXPECT_FALSE(FileExists(images_ + L"apple.jpg"));
}

TEST_F(PictureImportTest, NoPictureRemovesTheRecordsFile) {
  Write(images_ + L"pear.jpg", "pear");
  WString picture = L"pear.jpg";
  ImportPicture(kNoPicture, images_, picture, others_);
  EXPECT_EQ(picture, L"");
  EXPECT_FALSE(FileExists(images_ + L"pear.jpg"));
}

TEST_F(PictureImportTest, UnchangedNameCopiesNothing) {
  Write(images_ + L"pear.jpg", "pear");
  WString picture = L"pear.jpg";
  ImportPicture(L"pear.jpg", images_, picture, others_);
  EXPECT_EQ(picture, L"pear.jpg");
  EXPECT_EQ(Contents(images_ + L"pear.jpg"), "pear");
}

TEST_F(PictureImportTest, ChosenFileOfTheSameNameReplacesTheContents) {
  Write(images_ + L"pear.jpg", "old pear");
  Write(chosen_ + L"pear.jpg", "new pear");
  WString picture = L"pear.jpg";
  ImportPicture(chosen_ + L"pear.jpg", images_, picture, others_);
  EXPECT_EQ(picture, L"pear.jpg");
  EXPECT_EQ(Contents(images_ + L"pear.jpg"), "new pear");
}

TEST_F(PictureImportTest, CaseOnlyChangeOfTheImagesOwnFileKeepsIt) {
  Write(images_ + L"Apple.jpg", "apple");
  WString picture = L"Apple.jpg";
  ImportPicture(images_ + L"APPLE.JPG", images_, picture, others_);
  EXPECT_EQ(picture, L"APPLE.JPG");
  EXPECT_EQ(Contents(images_ + L"apple.jpg"), "apple");
}

TEST_F(PictureImportTest, AForeignPicturePathTouchesNothingOutsideTheImagesFolder) {
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
}

TEST_F(PictureImportTest, NameIsCutAfterTheLastSeparatorOfEitherKind) {
  Write(chosen_ + L"plum.png", "plum");
  WString chosen = chosen_;
  for (WChar& c : chosen)
    if (c == L'\\') c = L'/';
  WString picture;
  ImportPicture(chosen + L"plum.png", images_, picture, others_);
  EXPECT_EQ(picture, L"plum.png");
  EXPECT_EQ(Contents(images_ + L"plum.png"), "plum");
}

TEST_F(PictureImportTest, MissingImagesFolderIsCreated) {
  Write(chosen_ + L"fig.gif", "fig");
  WString folder = root_ / L"new\\deeper\\Images\\";
  WString picture;
  ImportPicture(chosen_ + L"fig.gif", folder, picture, others_);
  EXPECT_EQ(picture, L"fig.gif");
  EXPECT_EQ(Contents(folder + L"fig.gif"), "fig");
}

TEST_F(PictureImportTest, EmptyTextOrNoImagesFolderChangesNothing) {
  Write(images_ + L"pear.jpg", "pear");
  Write(chosen_ + L"apple.jpg", "apple");
  WString picture = L"pear.jpg";
  ImportPicture(L"", images_, picture, others_);
  ImportPicture(chosen_ + L"apple.jpg", L"", picture, others_);
  EXPECT_EQ(picture, L"pear.jpg");
  EXPECT_TRUE(FileExists(images_ + L"pear.jpg"));
}

TEST_F(PictureImportTest, MissingChosenFileStillNamesIt) {
  Write(images_ + L"pear.jpg", "pear");
  WString picture = L"pear.jpg";
  ImportPicture(chosen_ + L"gone.jpg", images_, picture, others_);
  EXPECT_EQ(picture, L"gone.jpg");  // silent: the file is simply not there
  EXPECT_FALSE(FileExists(images_ + L"gone.jpg"));
}

TEST_F(PictureImportTest, CopyPictureCreatesTheTargetAndOverwrites) {
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
