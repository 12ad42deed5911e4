#pragma once
// Path text operations; "\" and "/" both separate folders.
#include "storage/Text.h"

WString FolderOf(const WString& path);    // up to and including the last separator, ending in "\"
WString FileNameOf(const WString& path);  // after the last separator
// A name that stays inside whatever folder it is joined to: the part after the last "\", "/" or
// ":" (a drive), empty for "." and "..". Names read from foreign files pass through it.
WString PlainFileName(const WString& path);
WString BaseNameOf(const WString& path);  // the file name without its last "." and what follows
WString EnsureTrailing(const WString& text, WChar ending);
