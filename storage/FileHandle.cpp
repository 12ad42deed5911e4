#include "storage/FileSystem.h"
#include "storage/Files.h"

bool FileHandle::Fail() {
  lastError = SystemFiles::LastError();
  return false;
}

bool FileHandle::OpenRead() {
  if (IsOpen() && openForRead) return true;
  Close();
  handle = SystemFiles::OpenRead(path);
  if (!IsOpen()) return Fail();
  openForRead = true;
  return true;
}

bool FileHandle::OpenWrite() {
  if (IsOpen() && !openForRead) return true;
  Close();
  handle = SystemFiles::OpenWrite(path, useSecurity ? security.get() : nullptr);
  if (!IsOpen()) return Fail();
  openForRead = false;
  return true;
}

uint32_t FileHandle::Size() {
  if (!IsOpen() && !OpenRead()) return 0;
  uint64_t size = 0;
  if (!SystemFiles::Size(handle, size)) {
    Fail();
    return 0;
  }
  return static_cast<uint32_t>(size);
}

bool FileHandle::Read(void* buffer, uint32_t count, uint32_t& bytesRead) {
  bytesRead = 0;
  if (!OpenRead()) return false;
  auto* bytes = static_cast<char*>(buffer);
  while (bytesRead < count) {
    uint32_t done = 0;
    if (!SystemFiles::Read(handle, bytes + bytesRead, count - bytesRead, done)) return Fail();
    bytesRead += done;
    if (done == 0) break;  // end of file
  }
  return true;
}

bool FileHandle::Write(const void* buffer, uint32_t count) {
  if (!OpenWrite()) return false;
  auto* bytes = static_cast<const char*>(buffer);
  for (uint32_t written = 0; written < count;) {
    uint32_t done = 0;
    const bool ok = SystemFiles::Write(handle, bytes + written, count - written, done);
    if (!ok || done < count - written) return Fail();
    written += done;
  }
  return true;
}

bool FileHandle::ReadAllText(WString& text) {
  text.clear();
  if (!OpenRead()) return false;
  uint64_t size = 0;
  if (!SystemFiles::Size(handle, size)) return Fail();
  if (size / 2 * 2 > UINT32_MAX) return Fail();
  text.resize(static_cast<size_t>(size / 2));
  uint32_t bytesRead = 0;
  const bool ok = Read(&text[0], static_cast<uint32_t>(text.size() * 2), bytesRead);
  text.resize(bytesRead / 2);  // a file that shrank meanwhile keeps what was there
  return ok;
}

bool FileHandle::WriteAllText(const WString& text) {
  if (text.size() > UINT32_MAX / 2) return false;
  return Write(text.data(), static_cast<uint32_t>(text.size() * 2));
}

void FileHandle::Close() {
  if (IsOpen()) SystemFiles::Close(handle);
  handle = kInvalidHandle;
  openForRead = false;
}

bool FileHandle::Exists() {
  const bool found = OpenRead();
  Close();
  return found;
}

bool FileHandle::IsReadOnly() const {
  return SystemFiles::IsReadOnly(path);
}

bool FileHandle::UseEveryoneAccess() {
  if (!security) {
    security = std::make_unique<EveryoneSecurity>();
    if (!security->Build()) security.reset();
  }
  useSecurity = security != nullptr;
  return useSecurity;
}

bool FileExists(const WString& path) {
  return FileHandle(path).Exists();
}

bool CopyFileTo(const WString& source, const WString& target) {
  return SystemFiles::Copy(source, target);
}

bool DeleteFileAt(const WString& path) {
  SystemFiles::MakeNormal(path);
  return SystemFiles::Delete(path);
}

bool MoveFileTo(const WString& source, const WString& target) {
  if (!EqualsNoCase(source, target)) {
    DeleteFileAt(target);
    return SystemFiles::Move(source, target);
  }
  // The file system may see both names as one file, so the case changes through a third name.
  const WString between = source + TXT(".rename");
  if (!SystemFiles::Move(source, between)) return false;
  if (SystemFiles::Move(between, target)) return true;
  SystemFiles::Move(between, source);
  return false;
}

namespace {
bool IsSeparator(WChar c) {
  return c == '\\' || c == '/';
}

bool CreateFolderIfMissing(const WString& path, const EveryoneSecurity* security) {
  return SystemFiles::Exists(path) || SystemFiles::CreateFolder(path, security);
}
}  // namespace

bool CreateFolders(const WString& path, bool openAccess) {
  EveryoneSecurity openSecurity;
  const EveryoneSecurity* security = openAccess && openSecurity.Build() ? &openSecurity : nullptr;
  // Every prefix ending before a separator, from the first component on; a failing prefix (a drive
  // or a server name) is left to the final check.
  for (size_t i = 1; i < path.size(); ++i) {
    if (IsSeparator(path[i]) && !IsSeparator(path[i - 1])) CreateFolderIfMissing(path.substr(0, i), security);
  }
  CreateFolderIfMissing(path, security);
  return SystemFiles::IsFolder(path);
}
