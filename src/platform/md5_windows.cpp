// MD5 through the system's cryptography API (CNG), so the Windows build needs no crypto library.
#include <windows.h>  // before the headers that build on it

#include <bcrypt.h>

#include <algorithm>

#include "platform/md5.h"

namespace granvel {

bool ComputeMd5(const std::uint8_t* data, std::size_t size, Md5Digest& digest) {
  digest.fill(0);
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0)))
    return false;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
  // BCryptHashData takes at most 4 GiB at a time.
  constexpr std::size_t kPiece = std::size_t{1} << 30;
  for (std::size_t done = 0; ok && done < size; done += kPiece) {
    const auto piece = static_cast<ULONG>(std::min(kPiece, size - done));
    ok = BCRYPT_SUCCESS(::BCryptHashData(hash, const_cast<PUCHAR>(data + done), piece, 0));
  }
  ok = ok && BCRYPT_SUCCESS(::BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  if (hash)
    ::BCryptDestroyHash(hash);
  ::BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!ok)
    digest.fill(0);
  return ok;
}

}  // namespace granvel
