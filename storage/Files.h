#pragma once
// The file object every read and write of the program goes through, and the file and folder
// operations around it. Error codes are the system's own: GetLastError() on Windows, errno elsewhere.
#include <cstdint>
#include <memory>

#include "storage/Text.h"

// A security descriptor whose access list grants the Everyone group full access, for files and
// folders shared by all users of the machine. Built only when asked for; released with the object.
class EveryoneSecurity {
 public:
  EveryoneSecurity();
  ~EveryoneSecurity();
  EveryoneSecurity(const EveryoneSecurity&) = delete;
  EveryoneSecurity& operator=(const EveryoneSecurity&) = delete;

  bool Build();
  // The SECURITY_ATTRIBUTES record on Windows; null until built.
  const void* Attributes() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// One file, opened lazily on its first read or write and closed when asked or destroyed. Switching
// between reading and writing closes and reopens it.
class FileHandle {
 public:
  using SystemHandle = intptr_t;  // HANDLE on Windows, a descriptor elsewhere
  static constexpr SystemHandle kInvalidHandle = -1;

  FileHandle() = default;
  explicit FileHandle(WString filePath) : path(std::move(filePath)) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool OpenRead();   // share-read, the file must exist
  bool OpenWrite();  // no sharing, replaces any existing file
  uint32_t Size();
  bool Read(void* buffer, uint32_t count, uint32_t& bytesRead);
  bool Write(const void* buffer, uint32_t count);
  bool ReadAllText(WString& text);  // the file's bytes as UTF-16LE units; an odd last byte is dropped
  // The same into fresh memory of `count` units (and one more, unset), a large file read as two
  // halves at once: a machine that makes the first touch of memory costly (a virtual one) then
  // pays it on both processors.
  // A file of an odd size leaves its last byte as the low byte of that spare unit, and `oddByte`
  // (when given) says so: the last character of an 8-bit file.
  bool ReadAllUnits(std::unique_ptr<WChar[]>& units, size_t& count, bool* oddByte = nullptr);
  bool WriteAllText(const WString& text);
  bool Flush();  // what was written reaches the disk before this returns
  void Close();
  bool Exists();  // a file, not a folder, of that name is there, whether or not it opens
  bool IsReadOnly() const;
  // Creates new files with the Everyone access list from now on; false when it cannot be built.
  bool UseEveryoneAccess();
  bool IsOpen() const { return handle != kInvalidHandle; }

  WString path = TXT("filename.txt");
  SystemHandle handle = kInvalidHandle;
  uint32_t lastError = 0;
  bool openForRead = false;
  std::unique_ptr<EveryoneSecurity> security;
  bool useSecurity = false;

 private:
  bool Fail();
};

bool FileExists(const WString& path);
// Both paths name one file: their full forms are equal without regard to case.
bool IsSameFile(const WString& a, const WString& b);
// Makes `size` bytes the whole content of `path` in one step: they go to a temporary file beside
// it, reach the disk, and the temporary file then takes the old one's place. A crash, a kill or a
// full disk meanwhile leaves the old file as it was. `error` takes the system's code of a failure.
bool ReplaceFileContents(const WString& path, const void* data, size_t size, uint32_t& error);
// The same written piece by piece: the pieces go to the temporary file as they come, and Commit
// puts it in the file's place. Without a successful Commit the old file stays and the temporary
// one goes.
class ReplacingFile {
 public:
  explicit ReplacingFile(const WString& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  const WString& Path() const { return path_; }
  // False once a write has failed; later writes do nothing.
  bool Write(const void* data, size_t size);
  // The content reaches the disk and replaces the file; `error` takes the system's code of a failure.
  bool Commit(uint32_t& error);

 private:
  WString path_;
  FileHandle temporary_;
  bool ok_;
  bool committed_ = false;
};
// The same with a copy of `source` as the content (backups).
bool ReplaceFileWithCopy(const WString& source, const WString& target, uint32_t& error);
// For tests: every write fails as on a full disk once `bytes` more bytes have been written;
// kUnlimitedWrites lifts the limit.
constexpr uint64_t kUnlimitedWrites = ~uint64_t{0};
void LimitWrites(uint64_t bytes);
bool CopyFileTo(const WString& source, const WString& target);  // replaces an existing target
bool DeleteFileAt(const WString& path);                         // read-only files go too
// Moves `source` over `target` in one step, replacing it, and returns once the move is on the disk.
bool MoveFileOver(const WString& source, const WString& target);
// Replaces the target; a rename that only changes case passes through source + ".rename".
bool MoveFileTo(const WString& source, const WString& target);
// Creates every missing folder of the path; true when the whole path exists as a folder at the end.
bool CreateFolders(const WString& path, bool openAccess);
