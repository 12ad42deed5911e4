#include "net/RegistrySettings.h"

#include <string>

#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"

RegistrySettings::RegistrySettings(const WString& keyPath) {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
  }
}

RegistrySettings::~RegistrySettings() {
  if (key_) RegCloseKey(key_);
}

WString RegistrySettings::ProgramKey(const DAVavador::ERApp& app) {
  return TXT("Software\\") + app.MakerName() + TXT("\\") + app.ProductName();
}

bool RegistrySettings::ReadText(const wchar_t* name, WString& text) const {
  wchar_t buffer[1024 / sizeof(wchar_t) + 1] = {};
  DWORD type = 0, size = sizeof buffer - sizeof(wchar_t);
  if (!key_ ||
      RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  buffer[size / sizeof(wchar_t)] = 0;
  text = buffer;
  return true;
}

bool RegistrySettings::ReadNumber(const wchar_t* name, int32_t& number) const {
  WString text;
  if (!ReadText(name, text)) return false;
  number = ParseInt(text.c_str());
  return true;
}

void RegistrySettings::WriteText(const wchar_t* name, const WString& text) {
  if (!key_) return;
  RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettings::WriteNumber(const wchar_t* name, int32_t number) {
  WriteText(name, std::to_wstring(number));
}
