// Win32 file calls: CreateFileW and its family, and the Everyone access list for shared folders.
#include <windows.h>
#include <aclapi.h>

#include "storage/FileSystem.h"

struct EveryoneSecurity::Parts {
  PSID sid = nullptr;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SECURITY_ATTRIBUTES attributes{};
  bool built = false;
};

EveryoneSecurity::EveryoneSecurity() : parts_(std::make_unique<Parts>()) {}

EveryoneSecurity::~EveryoneSecurity() {
  if (parts_->descriptor) HeapFree(GetProcessHeap(), 0, parts_->descriptor);
  if (parts_->acl) LocalFree(parts_->acl);
  if (parts_->sid) FreeSid(parts_->sid);
}

namespace {
using SetEntriesInAclWFunction = DWORD(WINAPI*)(ULONG, PEXPLICIT_ACCESSW, PACL, PACL*);

// SetEntriesInAclW is looked up at run time, as systems without it simply get default security.
bool BuildEveryoneAcl(PSID sid, PACL* acl) {
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = 0x1FFFFF;  // all standard and specific rights
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(sid);
  HMODULE advapi = LoadLibraryW(L"advapi32.dll");
  if (!advapi) return false;
  // Through a generic pointer first, as FARPROC has no parameters.
  auto setEntries = reinterpret_cast<SetEntriesInAclWFunction>(
      reinterpret_cast<void*>(GetProcAddress(advapi, "SetEntriesInAclW")));
  const bool ok = setEntries && setEntries(1, &access, nullptr, acl) == ERROR_SUCCESS;
  FreeLibrary(advapi);
  return ok;
}
}  // namespace

bool EveryoneSecurity::Build() {
  Parts& p = *parts_;
  if (p.built) return true;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  if (!p.sid && !AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &p.sid))
    return false;
  if (!p.acl && !BuildEveryoneAcl(p.sid, &p.acl)) return false;
  if (!p.descriptor) p.descriptor = HeapAlloc(GetProcessHeap(), 0, SECURITY_DESCRIPTOR_MIN_LENGTH);
  if (!p.descriptor || !InitializeSecurityDescriptor(p.descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(p.descriptor, TRUE, p.acl, FALSE))
    return false;
  p.attributes = {sizeof(SECURITY_ATTRIBUTES), p.descriptor, FALSE};
  p.built = true;
  return true;
}

const void* EveryoneSecurity::Attributes() const {
  return parts_->built ? &parts_->attributes : nullptr;
}

namespace SystemFiles {
namespace {
HANDLE Native(Handle file) {
  return reinterpret_cast<HANDLE>(file);
}
Handle FromNative(HANDLE file) {
  return reinterpret_cast<Handle>(file);
}
SECURITY_ATTRIBUTES* AttributesOf(const EveryoneSecurity* security) {
  return security ? static_cast<SECURITY_ATTRIBUTES*>(const_cast<void*>(security->Attributes())) : nullptr;
}
}  // namespace

static_assert(FileHandle::kInvalidHandle == -1, "INVALID_HANDLE_VALUE is all bits set");

uint32_t LastError() {
  return GetLastError();
}

Handle OpenRead(const WString& path) {
  return FromNative(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

Handle OpenWrite(const WString& path, const EveryoneSecurity* security) {
  return FromNative(CreateFileW(path.c_str(), GENERIC_WRITE, 0, AttributesOf(security), CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Read(Handle file, void* buffer, uint32_t count, uint32_t& done) {
  DWORD n = 0;
  const bool ok = ReadFile(Native(file), buffer, count, &n, nullptr) != 0;
  done = n;
  return ok;
}

bool Write(Handle file, const void* buffer, uint32_t count, uint32_t& done) {
  DWORD n = 0;
  const bool ok = WriteFile(Native(file), buffer, count, &n, nullptr) != 0;
  done = n;
  if (ok && n < count) SetLastError(ERROR_HANDLE_DISK_FULL);
  return ok;
}

bool Size(Handle file, uint64_t& size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(Native(file), &value)) return false;
  size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool Seek(Handle file, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(Native(file), at, nullptr, FILE_BEGIN) != 0;
}

bool Flush(Handle file) {
  return FlushFileBuffers(Native(file)) != 0;
}

uint32_t DiskFullError() {
  return ERROR_DISK_FULL;
}

void Close(Handle file) {
  CloseHandle(Native(file));
}

bool IsReadOnly(const WString& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool MakeNormal(const WString& path) {
  return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool Delete(const WString& path) {
  return DeleteFileW(path.c_str()) != 0;
}

bool Copy(const WString& source, const WString& target) {
  return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
}

bool Move(const WString& source, const WString& target) {
  return MoveFileW(source.c_str(), target.c_str()) != 0;
}

bool Replace(const WString& source, const WString& target) {
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Exists(const WString& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool IsFolder(const WString& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

WString FullPath(const WString& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  WString full(size, 0);
  full.resize(GetFullPathNameW(path.c_str(), size, &full[0], nullptr));
  return full;
}

bool CreateFolder(const WString& path, const EveryoneSecurity* security) {
  return CreateDirectoryW(path.c_str(), AttributesOf(security)) != 0;
}

}  // namespace SystemFiles
