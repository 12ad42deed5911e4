#pragma once
// How a chosen picture enters the images folder, and the picture copies of imports and exports.
#include "storage/Text.h"

namespace DAVavador {

// Answers for the catalogs whether a picture file is still needed. Several records can name one
// file (a copied record keeps the picture, imports copy files by name), so the import deletes a
// replaced picture only when no other record names it. The views implement it.
class PictureUsers {
 public:
  virtual ~PictureUsers() = default;
  // True when a record other than the one being edited names `fileName` (compared without regard
  // to case) in any catalog that keeps its pictures in the same images folder.
  virtual bool OtherRecordNames(const WString& fileName) const = 0;
};

// The editor's text for "no picture".
extern const WChar kNoPicture[];

// Takes the editor's picture text `text` (a chosen path, the record's bare file name or
// kNoPicture) into `picture`, the record's file name: a chosen file is copied into `imagesFolder`
// under its own name, a replaced or removed picture is deleted unless `users` still need it.
// Nothing changes for an empty text, without an images folder, or when the chosen file cannot be
// copied; the old picture goes only once the new one is in place. Failures are silent.
void ImportPicture(const WString& text, const WString& imagesFolder, WString& picture,
                   const PictureUsers& users);

// Takes the picture an imported record names (its plain file name) from `fromFolder`, the
// exchanged file's "Images\" folder, into `imagesFolder`, never replacing a file there: a file of
// that name with other bytes is the user's own, and the copy takes the first free name of
// "cake (2).jpg", "cake (3).jpg"...; a file with the same bytes serves as it is. `picture` becomes
// the name of the file that holds the picture. False, `picture` unchanged, when nothing could be
// copied. A backup beside the catalog has its pictures in the images folder already.
bool TakeForeignPicture(WString& picture, const WString& fromFolder, const WString& imagesFolder);

// Copies the picture (its plain file name) from the images folder into an export's "Images\"
// folder, creating it and replacing a file of that name there: the export is written anew.
bool CopyPicture(const WString& picture, const WString& fromFolder, const WString& toFolder);

}  // namespace DAVavador
