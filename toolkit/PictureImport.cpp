#include "toolkit/PictureImport.h"

#include "storage/Files.h"
#include "storage/Paths.h"

namespace DAVavador {

const WChar kNoPicture[] = TXT("nopicture");

void ImportPicture(const WString& text, const WString& imagesFolder, WString& picture,
                   const PictureUsers& users) {
  if (text.empty() || imagesFolder.empty()) return;
  const WString name = text == kNoPicture ? WString() : PlainFileName(text);
  // The editor shows the bare name of a picture of the images folder, and the folder's own file
  // needs no copy. Otherwise the new file is in place before the old one goes: a choice that
  // cannot be copied (a file since moved, a full disk) leaves the record and its picture as they were.
  const bool inPlace =
      EqualsNoCase(text, imagesFolder + name) || (text == name && FileExists(imagesFolder + name));
  if (!name.empty() && !inPlace &&
      !(CreateFolders(imagesFolder, false) && CopyFileTo(text, imagesFolder + name)))
    return;
  // Names compare as the file system does, without regard to case; otherwise a case-only change
  // would delete the very file just chosen. Only a file of the images folder is deleted.
  const WString old = PlainFileName(picture);
  if (!old.empty() && !EqualsNoCase(old, name) && !users.OtherRecordNames(picture))
    DeleteFileAt(imagesFolder + old);
  picture = name;
}

bool CopyPicture(const WString& picture, const WString& fromFolder, const WString& toFolder) {
  const WString name = PlainFileName(picture);
  return !name.empty() && CreateFolders(toFolder, false) && CopyFileTo(fromFolder + name, toFolder + name);
}

}  // namespace DAVavador
