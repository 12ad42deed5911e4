#pragma once
// The per-user settings of the update check and the news pop-up: text values in one registry key
// below HKEY_CURRENT_USER. A value that cannot be read counts as missing; failed writes are
// ignored.
#include <windows.h>

#include <cstdint>

#include "storage/Text.h"

namespace DAVavador {
class ERApp;
}

class RegistrySettings {
 public:
  // `keyPath` below HKEY_CURRENT_USER, created when missing.
  explicit RegistrySettings(const WString& keyPath);
  ~RegistrySettings();
  RegistrySettings(const RegistrySettings&) = delete;
  RegistrySettings& operator=(const RegistrySettings&) = delete;

  // "Software\<maker>\<program>".
  static WString ProgramKey(const DAVavador::ERApp& app);

  bool ReadText(const wchar_t* name, WString& text) const;  // at most 1024 bytes
  // The text read leniently as a number (ParseInt).
  bool ReadNumber(const wchar_t* name, int32_t& number) const;
  void WriteText(const wchar_t* name, const WString& text);
  void WriteNumber(const wchar_t* name, int32_t number);

 private:
  HKEY key_ = nullptr;
};
