#include "server/InstallerDigest.h"

#include <fcntl.h>
#include <nettle/sha2.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

std::string Sha256Hex(int fd) {
  sha256_ctx context;
  sha256_init(&context);
  std::vector<uint8_t> block(1 << 16);
  for (;;) {
    const ssize_t read = ::read(fd, block.data(), block.size());
    if (read < 0) return std::string();
    if (read == 0) break;
    sha256_update(&context, static_cast<size_t>(read), block.data());
  }
  uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, sizeof digest, digest);
  std::string hex;
  for (uint8_t byte : digest) {
    hex += "0123456789abcdef"[byte >> 4];
    hex += "0123456789abcdef"[byte & 15];
  }
  return hex;
}

std::string WithInstallerHash(std::string versionFile, const std::string& hex) {
  const std::string element = "<SHA256>" + hex + "</SHA256>\r\n";
  const bool wide = versionFile.size() >= 2 && versionFile[1] == '\0';
  for (char c : element) {
    versionFile += c;
    if (wide) versionFile += '\0';
  }
  return versionFile;
}

std::string InstallerDigest::Of(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    if (fd >= 0) close(fd);
    return std::string();
  }
  const int64_t changed = int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  std::lock_guard<std::mutex> lock(mutex_);
  if (path != path_ || uint64_t(status.st_size) != size_ || status.st_ino != inode_ || changed != changed_) {
    hex_ = Sha256Hex(fd);
    path_ = path;
    size_ = uint64_t(status.st_size);
    inode_ = status.st_ino;
    changed_ = hex_.empty() ? -1 : changed;
  }
  close(fd);
  return hex_;
}
