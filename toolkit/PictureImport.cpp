#include "toolkit/PictureImport.h"

#include "storage/Files.h"
#include "storage/Paths.h"

namespace DAVavador {

const WChar kNoPicture[] = TXT("nopicture");

void ImportPicture(const WString& text, const WString& imagesFolder, WString& picture,
                   const PictureUsers& users) {
  if (text.empty() || imagesFolder.empty()) return;
  const WString name = PlainFileName(text);
  // Names compare as the file system does, without regard to case; otherwise a case-only change
  // would delete the very file about to be copied. Only a file of the images folder is deleted.
  const WString old = PlainFileName(picture);
  if (!old.empty() && !EqualsNoCase(old, name) && !users.OtherRecordNames(picture))
    DeleteFileAt(imagesFolder + old);
  if (text == kNoPicture) {
    picture.clear();
    return;
  }
  const bool alreadyThere = EqualsNoCase(text, picture);  // the editor shows the bare name
  picture = name;
  if (!alreadyThere && CreateFolders(imagesFolder, false)) CopyFileTo(text, imagesFolder + name);
}

bool CopyPicture(const WString& picture, const WString& fromFolder, const WString& toFolder) {
  const WString name = PlainFileName(picture);
  return !name.empty() && CreateFolders(toFolder, false) && CopyFileTo(fromFolder + name, toFolder + name);
}

}  // namespace DAVavador
