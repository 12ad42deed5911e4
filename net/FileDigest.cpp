#include "net/FileDigest.h"

#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <vector>

#include "toolkit/ScopedHandle.h"

namespace {

struct ProviderTraits {
  static bool IsReal(BCRYPT_ALG_HANDLE handle) { return handle != nullptr; }
  static void Close(BCRYPT_ALG_HANDLE handle) { BCryptCloseAlgorithmProvider(handle, 0); }
};
struct HashTraits {
  static bool IsReal(BCRYPT_HASH_HANDLE handle) { return handle != nullptr; }
  static void Close(BCRYPT_HASH_HANDLE handle) { BCryptDestroyHash(handle); }
};

bool HashFile(HANDLE file, BCRYPT_HASH_HANDLE hash) {
  std::vector<UCHAR> block(1 << 16);
  DWORD read = 0;
  while (ReadFile(file, block.data(), DWORD(block.size()), &read, nullptr)) {
    if (read == 0) return true;
    if (BCryptHashData(hash, block.data(), read, 0) != 0) return false;
  }
  return false;
}

}  // namespace

bool Sha256OfFile(const WString& path, uint8_t (&digest)[32]) {
  const DAVavador::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!file || BCryptOpenAlgorithmProvider(&provider, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return false;
  const DAVavador::ScopedResource<BCRYPT_ALG_HANDLE, ProviderTraits> providerOwner(provider);
  if (BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0) != 0) return false;
  const DAVavador::ScopedResource<BCRYPT_HASH_HANDLE, HashTraits> hashOwner(hash);
  return HashFile(file.Get(), hash) && BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
}
