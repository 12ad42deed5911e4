#pragma once
// The platform's file calls behind FileHandle and the file operations: Win32 (CreateFileW and its
// family) on Windows, POSIX elsewhere. Each failing call leaves its code for LastError().
#include <cstdint>

#include "storage/Files.h"

namespace SystemFiles {

using Handle = FileHandle::SystemHandle;

uint32_t LastError();
Handle OpenRead(const WString& path);
Handle OpenWrite(const WString& path, const EveryoneSecurity* security);
bool Read(Handle file, void* buffer, uint32_t count, uint32_t& done);
bool Write(Handle file, const void* buffer, uint32_t count, uint32_t& done);
bool Size(Handle file, uint64_t& size);
bool Seek(Handle file, uint64_t offset);  // the next read starts `offset` bytes into the file
bool Flush(Handle file);
uint32_t DiskFullError();
void Close(Handle file);

bool IsReadOnly(const WString& path);
bool MakeNormal(const WString& path);  // clears the read-only mark
bool Delete(const WString& path);
bool Copy(const WString& source, const WString& target);  // replaces an existing target
bool Move(const WString& source, const WString& target);  // fails when the target exists
// Moves `source` over `target` in one step, replacing it, and returns once the move is on the disk.
bool Replace(const WString& source, const WString& target);
bool Exists(const WString& path);  // a file or folder of that name exists
bool IsFolder(const WString& path);
WString FullPath(const WString& path);  // absolute, with "." and ".." resolved
bool CreateFolder(const WString& path, const EveryoneSecurity* security);

}  // namespace SystemFiles
