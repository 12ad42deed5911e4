#pragma once
// The SHA-256 of a file, by the system's cryptography (BCrypt), read in blocks so that an installer of
// hundreds of megabytes needs no more memory than one block.
#include <cstdint>

#include "storage/Text.h"

// False when the file cannot be read or the system has no SHA-256.
bool Sha256OfFile(const WString& path, uint8_t (&digest)[32]);
