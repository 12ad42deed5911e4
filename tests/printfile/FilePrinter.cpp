#include "FilePrinter.h"
#include "tests/support/WinePath.h"

#include <winspool.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr const wchar_t* kDriver = L"Mirepan PostScript";

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void FilePrinter::Remove() {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<LPWSTR>(FilePrinter::kName), &printer, &access)) return;
  DeletePrinter(printer);
  ClosePrinter(printer);
}

bool FilePrinter::Available() {
  return Exists(WinePath(WINEPS_DRIVER)) && Exists(WinePath(PRINTER_DESCRIPTION));
}

bool FilePrinter::Install(const WString& psPath, std::string& error) {
  const auto failed = [&error](const char* step) {
    error = std::string(step) + " failed: " + std::to_string(GetLastError());
    return false;
  };
  std::wstring driverFile = WinePath(WINEPS_DRIVER), description = WinePath(PRINTER_DESCRIPTION);
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<LPWSTR>(kDriver);
  driver.pDriverPath = driverFile.data();
  driver.pConfigFile = driverFile.data();
  driver.pDataFile = description.data();
  driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver),
                           APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
    return failed("AddPrinterDriverExW");
  // The spooler writes a job to a port that names a file; a new port needs a new printer.
  Remove();
  WString port = psPath;
  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<LPWSTR>(kName);
  info.pPortName = port.data();
  info.pDriverName = const_cast<LPWSTR>(kDriver);
  info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
  info.pDatatype = const_cast<LPWSTR>(L"RAW");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (!printer) return failed("AddPrinterW");
  ClosePrinter(printer);
  return SetDefaultPrinterW(kName) || failed("SetDefaultPrinterW");
}

int PostScriptPages(const WString& psPath) {
  std::ifstream file(psPath.c_str(), std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(file), {});
  if (text.rfind("%!PS", 0) != 0) return -1;
  int pages = 0;
  for (size_t at = text.find("\n%%Page:"); at != std::string::npos; at = text.find("\n%%Page:", at + 1))
    ++pages;
  return pages;
}
