#pragma once
// A printer of Wine's PostScript driver whose port is a file, made the default printer, so that
// the program's real print path (the printer dialog's device context, StartDocW, the pages) ends
// in a PostScript file. The driver and the printer description come from the host (found when the
// tree is configured).
#include <windows.h>

#include <string>

#include "storage/Text.h"

class FilePrinter {
 public:
  static constexpr const wchar_t* kName = L"Mirepan File Printer";

  // True when the host has the driver and a printer description.
  static bool Available();
  // Installs the printer (again) with `psPath` as its port and makes it the default. False when
  // the spooler refused; `error` then holds the step that failed.
  bool Install(const WString& psPath, std::string& error);
  // Removes the printer again, so that other tests see a system without printers.
  static void Remove();
};

// The PostScript file's pages ("%%Page:" comments); -1 when it is not a PostScript file.
int PostScriptPages(const WString& psPath);
