#include "toolkit/PictureImport.h"

#include <windows.h>

#include <string>

#include "storage/Csv.h"
#include "storage/Files.h"
#include "storage/Paths.h"

namespace DAVavador {

namespace {

// "cake.jpg" as the n-th file of that name: "cake (2).jpg"; a name without an extension takes
// the number at its end.
WString NumberedName(const WString& name, int n) {
  const size_t dot = name.rfind(TXT('.'));
  const size_t end = dot == WString::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, end) + TXT(" (") + FromAscii(std::to_string(n)) + TXT(")") + name.substr(end);
}

bool SameBytes(const WString& a, const WString& b) {
  std::string first, second;
  return ReadFileBytes(a, first) && ReadFileBytes(b, second) && first == second;
}

}  // namespace

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

bool TakeForeignPicture(WString& picture, const WString& fromFolder, const WString& imagesFolder) {
  const WString name = PlainFileName(picture);
  const WString source = fromFolder + name;
  if (name.empty() || !CreateFolders(imagesFolder, false)) return false;
  for (int n = 1;; ++n) {
    const WString candidate = n == 1 ? name : NumberedName(name, n);
    const WString target = imagesFolder + candidate;
    // The system's copy refuses an existing target, so that no file is ever replaced, not even
    // one that appeared since the last look.
    const bool placed = IsSameFile(source, target) || CopyFileW(source.c_str(), target.c_str(), TRUE);
    if (!placed && GetLastError() != ERROR_FILE_EXISTS) return false;  // no source, a full disk
    if (placed || SameBytes(source, target)) {
      picture = candidate;
      return true;
    }
  }
}

bool CopyPicture(const WString& picture, const WString& fromFolder, const WString& toFolder) {
  const WString name = PlainFileName(picture);
  return !name.empty() && CreateFolders(toFolder, false) && CopyFileTo(fromFolder + name, toFolder + name);
}

}  // namespace DAVavador
