// A file's SHA-256 through the CryptoAPI of advapi32, which has it on every Windows since XP SP3;
// on older ones through our own.
#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>

#include <vector>

#include "platform/sha256.h"
#include "platform/text.h"
#include "platform/win32/win32_os.h"

namespace quellspur::platform::win32 {
namespace {

// Acquired once for the program's life: each acquisition loads the provider's library and each
// release unloads it, which costs far more than hashing an executable.
HCRYPTPROV Sha256Provider() {
  static const HCRYPTPROV provider = [] {
    HCRYPTPROV acquired = 0;
    return ::CryptAcquireContextW(&acquired, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)
               ? acquired
               : 0;
  }();
  return provider;
}

}  // namespace

bool Win32Os::FileSha256(const std::wstring& path, std::string& hexDigest) {
  hexDigest.clear();
  // A running executable is hashed too, and others may go on using the file meanwhile.
  HANDLE file = ::CreateFileW(Unredirected(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const HCRYPTPROV provider = Sha256Provider();
  HCRYPTHASH hash = 0;
  const bool windowsHashes =
      provider != 0 && ::CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash);
  Sha256 ownHash;
  bool ok = true;
  std::vector<BYTE> chunk(64 * 1024);
  DWORD read = 0;
  while (ok &&
         (ok = ::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) !=
               FALSE) &&
         read > 0) {
    if (windowsHashes) {
      ok = ::CryptHashData(hash, chunk.data(), read, 0) != FALSE;
    } else {
      ownHash.Update({reinterpret_cast<const char*>(chunk.data()), read});
    }
  }
  BYTE digest[32] = {};
  DWORD length = sizeof digest;
  ok = ok && (!windowsHashes || (::CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0) &&
                                 length == sizeof digest));
  if (hash != 0) {
    ::CryptDestroyHash(hash);
  }
  ::CloseHandle(file);
  if (!ok) {
    return false;
  }
  if (!windowsHashes) {
    hexDigest = ownHash.HexDigest();
    return true;
  }
  for (BYTE byte : digest) {
    hexDigest += LowerHexDigits(byte, 2);
  }
  return true;
}

}  // namespace quellspur::platform::win32
