#pragma once
// The installer's SHA-256, which the server adds to the version file it serves so that the program
// can check the installer it downloads. The digest is kept while the file stays the same (its size,
// its time of change and its inode), since an installer of hundreds of megabytes is not read again
// for every version check.
#include <cstdint>
#include <mutex>
#include <string>

// The SHA-256 of the file open as `fd`, as 64 lower-case hexadecimal digits; empty when it cannot
// be read.
std::string Sha256Hex(int fd);

// `versionFile` with a SHA256 element holding `hex` after its text: in UTF-16LE when the file is,
// else in 8 bits. The element comes last, so that it counts over one the file may carry.
std::string WithInstallerHash(std::string versionFile, const std::string& hex);

class InstallerDigest {
 public:
  // The digest of the file at `path`; empty when there is none.
  std::string Of(const std::string& path);

 private:
  std::mutex mutex_;
  std::string path_, hex_;
  uint64_t size_ = 0, inode_ = 0;
  int64_t changed_ = -1;  // nanoseconds since the epoch
};
