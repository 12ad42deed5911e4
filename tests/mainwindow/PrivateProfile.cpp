// A folder-path library for the program under test: placed beside a copy of the program, it
// answers every folder request with the "profile" folder next to itself, so each test run keeps
// its options and catalogs in a scratch folder of its own.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI SHGetFolderPathW(HWND, int, HANDLE, DWORD, LPWSTR path) {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&SHGetFolderPathW), &self);
  DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  while (length && path[length - 1] != L'\\') --length;
  lstrcpyW(path + length, L"profile");
  CreateDirectoryW(path, nullptr);
  // The tests check this mark to know the program asked here and not the real profile.
  wchar_t mark[MAX_PATH];
  lstrcpyW(mark, path);
  lstrcatW(mark, L"\\asked");
  CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return S_OK;
}
