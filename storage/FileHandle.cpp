#include <algorithm>
#include <atomic>
#include <thread>

#include "storage/FileSystem.h"
#include "storage/Files.h"

namespace {
std::atomic<uint64_t> writeLimit{kUnlimitedWrites};

// How many of `count` bytes the test limit lets through; the limit shrinks by as many.
uint32_t AllowedBytes(uint32_t count) {
  uint64_t left = writeLimit.load();
  while (left != kUnlimitedWrites) {
    const uint64_t allowed = std::min<uint64_t>(left, count);
    if (writeLimit.compare_exchange_weak(left, left - allowed)) return static_cast<uint32_t>(allowed);
  }
  return count;
}
}  // namespace

void LimitWrites(uint64_t bytes) {
  writeLimit = bytes;
}

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
  const uint32_t allowed = AllowedBytes(count);
  for (uint32_t written = 0; written < allowed;) {
    uint32_t done = 0;
    const bool ok = SystemFiles::Write(handle, bytes + written, allowed - written, done);
    if (!ok || done < allowed - written) return Fail();
    written += done;
  }
  if (allowed == count) return true;
  lastError = SystemFiles::DiskFullError();
  return false;
}

bool FileHandle::Flush() {
  return IsOpen() && !openForRead && (SystemFiles::Flush(handle) || Fail());
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

bool FileHandle::ReadAllUnits(std::unique_ptr<WChar[]>& units, size_t& count, bool* oddByte) {
  constexpr uint32_t kHalvedFrom = uint32_t{4} << 20;  // bytes
  count = 0;
  if (!OpenRead()) return false;
  uint64_t size = 0;
  if (!SystemFiles::Size(handle, size)) return Fail();
  if (size / 2 * 2 > UINT32_MAX) return Fail();
  const auto total = static_cast<uint32_t>(size / 2 * 2);
  units.reset(new WChar[total / 2 + 1]);
  char* bytes = reinterpret_cast<char*>(units.get());
  const uint32_t half = total >= kHalvedFrom ? total / 2 / 4096 * 4096 : total;
  uint32_t secondRead = 0;
  uint32_t secondError = 0;
  bool secondOk = true;
  std::thread second;
  if (half < total) {
    second = std::thread([&] {
      FileHandle other(path);
      secondOk = other.OpenRead() && SystemFiles::Seek(other.handle, half) &&
                 other.Read(bytes + half, total - half, secondRead);
      if (!secondOk) secondError = other.lastError ? other.lastError : SystemFiles::LastError();
    });
  }
  uint32_t firstRead = 0;
  const bool firstOk = Read(bytes, half, firstRead);
  if (second.joinable()) second.join();
  if (!firstOk) return false;
  // A file that shrank meanwhile keeps what was there.
  if (firstRead < half || half == total) {
    count = firstRead / 2;
  } else if (!secondOk) {
    lastError = secondError;
    return false;
  } else {
    count = (half + secondRead) / 2;
  }
  units[count] = 0;
  uint32_t last = 0;
  if (oddByte)
    *oddByte = size % 2 && count * 2 == total && SystemFiles::Seek(handle, total) &&
               Read(bytes + total, 1, last) && last == 1;
  return true;
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
  return FileExists(path);
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
  // Asked of the folder, not by opening the file: a file another program holds open is still there.
  return SystemFiles::Exists(path) && !SystemFiles::IsFolder(path);
}

bool IsSameFile(const WString& a, const WString& b) {
  return EqualsNoCase(SystemFiles::FullPath(a), SystemFiles::FullPath(b));
}

ReplacingFile::ReplacingFile(const WString& path) : path_(path), temporary_(path + TXT(".tmp")) {
  ok_ = temporary_.OpenWrite();
}

ReplacingFile::~ReplacingFile() {
  if (committed_) return;
  temporary_.Close();
  DeleteFileAt(temporary_.path);
}

bool ReplacingFile::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  constexpr size_t kChunk = size_t{1} << 30;
  for (size_t at = 0; ok_ && at < size; at += kChunk)
    ok_ = temporary_.Write(bytes + at, static_cast<uint32_t>(std::min(kChunk, size - at)));
  return ok_;
}

bool ReplacingFile::Commit(uint32_t& error) {
  ok_ = ok_ && temporary_.Flush();
  error = temporary_.lastError;
  temporary_.Close();
  if (!ok_) return false;
  if (!MoveFileOver(temporary_.path, path_)) {
    error = SystemFiles::LastError();
    return false;
  }
  committed_ = true;
  error = 0;
  return true;
}

bool ReplaceFileContents(const WString& path, const void* data, size_t size, uint32_t& error) {
  ReplacingFile file(path);
  file.Write(data, size);
  return file.Commit(error);
}

bool ReplaceFileWithCopy(const WString& source, const WString& target, uint32_t& error) {
  FileHandle file(source);
  if (!file.OpenRead()) {
    error = file.lastError;
    return false;
  }
  // A piece at a time: a large catalog's backup is never held whole.
  ReplacingFile copy(target);
  std::string piece(size_t{1} << 20, '\0');
  for (uint32_t read = 1; read > 0;) {
    if (!file.Read(piece.data(), static_cast<uint32_t>(piece.size()), read)) {
      error = file.lastError;
      return false;
    }
    copy.Write(piece.data(), read);
  }
  return copy.Commit(error);
}

bool CopyFileTo(const WString& source, const WString& target) {
  return SystemFiles::Copy(source, target);
}

bool DeleteFileAt(const WString& path) {
  SystemFiles::MakeNormal(path);
  return SystemFiles::Delete(path);
}

bool MoveFileOver(const WString& source, const WString& target) {
  return SystemFiles::Replace(source, target);
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
