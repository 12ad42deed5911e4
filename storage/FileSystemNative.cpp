// POSIX file calls for the native build. Paths arrive as UTF-16 with "\" or "/" separators and go
// to the system as UTF-8. Windows sharing is mirrored with advisory locks: readers share, a writer
// excludes everyone, so a second writer fails instead of interleaving.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "storage/FileSystem.h"

struct EveryoneSecurity::Parts {
  bool built = false;
};

EveryoneSecurity::EveryoneSecurity() : parts_(std::make_unique<Parts>()) {}
EveryoneSecurity::~EveryoneSecurity() = default;

// Everyone's full access is the permission bits rwx for owner, group and others.
bool EveryoneSecurity::Build() {
  parts_->built = true;
  return true;
}

const void* EveryoneSecurity::Attributes() const {
  return parts_->built ? parts_.get() : nullptr;
}

namespace SystemFiles {
namespace {

thread_local uint32_t lastError = 0;

std::string NativePath(const WString& path) {
  std::string out = ToUtf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool Failed(int code = errno) {
  lastError = static_cast<uint32_t>(code);
  return false;
}

Handle FailedHandle(int fd) {
  const int code = errno;
  if (fd >= 0) close(fd);
  Failed(code);
  return FileHandle::kInvalidHandle;
}

bool GrantsEveryone(const EveryoneSecurity* security) {
  return security && security->Attributes();
}

}  // namespace

uint32_t LastError() {
  return lastError;
}

Handle OpenRead(const WString& path) {
  const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FailedHandle(fd);
  struct stat st;
  if (fstat(fd, &st) != 0) return FailedHandle(fd);
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return FailedHandle(fd);
  }
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) return FailedHandle(fd);
  return fd;
}

Handle OpenWrite(const WString& path, const EveryoneSecurity* security) {
  // Truncation waits for the lock, so a refused writer leaves the file as it was.
  const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return FailedHandle(fd);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) return FailedHandle(fd);
  if (GrantsEveryone(security) && fchmod(fd, 0666) != 0) return FailedHandle(fd);
  return fd;
}

bool Read(Handle file, void* buffer, uint32_t count, uint32_t& done) {
  ssize_t n;
  do {
    n = read(static_cast<int>(file), buffer, count);
  } while (n < 0 && errno == EINTR);
  done = n > 0 ? static_cast<uint32_t>(n) : 0;
  return n >= 0 || Failed();
}

bool Write(Handle file, const void* buffer, uint32_t count, uint32_t& done) {
  done = 0;
  while (done < count) {
    const ssize_t n = write(static_cast<int>(file), static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Failed();
    if (n == 0) return Failed(ENOSPC);
    done += static_cast<uint32_t>(n);
  }
  return true;
}

bool Size(Handle file, uint64_t& size) {
  struct stat st;
  if (fstat(static_cast<int>(file), &st) != 0) return Failed();
  size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool Seek(Handle file, uint64_t offset) {
  return lseek(static_cast<int>(file), static_cast<off_t>(offset), SEEK_SET) >= 0 || Failed();
}

bool Flush(Handle file) {
  return fsync(static_cast<int>(file)) == 0 || Failed();
}

uint32_t DiskFullError() {
  return ENOSPC;
}

void Close(Handle file) {
  close(static_cast<int>(file));
}

bool IsReadOnly(const WString& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool MakeNormal(const WString& path) {
  const std::string name = NativePath(path);
  struct stat st;
  if (stat(name.c_str(), &st) != 0) return Failed();
  return chmod(name.c_str(), st.st_mode | S_IWUSR) == 0 || Failed();
}

bool Delete(const WString& path) {
  const std::string name = NativePath(path);
  struct stat st;
  if (stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Failed(EISDIR);
  return unlink(name.c_str()) == 0 || Failed();
}

bool Copy(const WString& source, const WString& target) {
  std::error_code error;
  std::filesystem::copy_file(NativePath(source), NativePath(target),
                             std::filesystem::copy_options::overwrite_existing, error);
  return !error || Failed(error.value());
}

bool Move(const WString& source, const WString& target) {
  const std::string from = NativePath(source), to = NativePath(target);
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return Failed(EEXIST);
  return rename(from.c_str(), to.c_str()) == 0 || Failed();
}

bool Replace(const WString& source, const WString& target) {
  const std::string to = NativePath(target);
  if (rename(NativePath(source).c_str(), to.c_str()) != 0) return Failed();
  // The rename is on the disk once the folder that holds both names is.
  const std::string folder = std::filesystem::path(to).parent_path().string();
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

bool Exists(const WString& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0;
}

bool IsFolder(const WString& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

WString FullPath(const WString& path) {
  std::error_code error;
  const auto full = std::filesystem::absolute(NativePath(path), error).lexically_normal();
  return error ? path : FromUtf8(full.string());
}

bool CreateFolder(const WString& path, const EveryoneSecurity* security) {
  const std::string name = NativePath(path);
  if (mkdir(name.c_str(), 0777) != 0) return Failed();
  return !GrantsEveryone(security) || chmod(name.c_str(), 0777) == 0 || Failed();
}

}  // namespace SystemFiles
