#pragma once
// A path of the build machine (the tests are built on the host and run under Wine) as the Wine path
// of the same file, on drive Z:.
#include <string>

inline std::wstring WinePath(const char* hostPath) {
  std::wstring path = L"Z:";
  for (const char* c = hostPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}
