#include "scan/signature_set.h"

#include "platform/sha256.h"
#include "platform/types.h"

namespace quellspur {

SignatureSet::SignatureSet(AddedSignatures added) : added_(std::move(added)) {
  for (std::size_t index = 0; index < added_.hashes.size(); ++index) {
    const AddedHashSignature& signature = added_.hashes[index];
    byDigest_.emplace(signature.sha256, index);
    if (signature.size) {
      lengths_.insert(*signature.size);
    } else {
      anyLength_ = true;
    }
  }
}

bool SignatureSet::MayMatchLength(std::uint64_t length) const {
  return anyLength_ || lengths_.count(length) != 0;
}

const AddedHashSignature* SignatureSet::Match(const std::string& sha256,
                                              std::uint64_t length) const {
  const auto found = byDigest_.find(sha256);
  if (found == byDigest_.end()) {
    return nullptr;
  }
  const AddedHashSignature& signature = added_.hashes[found->second];
  return !signature.size || *signature.size == length ? &signature : nullptr;
}

SignatureFileRead ReadSignatureFile(platform::Os& os, const std::wstring& path) {
  SignatureFileRead read;
  auto refuse = [&](const std::wstring& reason) {
    read.outcome = SignatureFileRead::Outcome::Refused;
    read.errors.push_back(SignatureErrorText(path, {0, reason}));
    return read;
  };
  std::uint64_t length = 0;
  if (!os.GetFileLength(path, length)) {
    if (platform::NotFound(os.GetLastError())) {
      return read;
    }
    return refuse(L"the file can't be read");
  }
  if (length > kLargestSignatureFile) {
    return refuse(L"the file is larger than 16 MiB");
  }
  std::string bytes;
  if (!os.ReadFileAt(path, 0, static_cast<std::uint32_t>(length), bytes)) {
    return refuse(L"the file can't be read");
  }
  read.sha256 = platform::Sha256Hex(bytes);
  auto parsed = ParseSignatureFile(bytes);
  if (auto* errors = std::get_if<std::vector<SignatureFileError>>(&parsed)) {
    read.outcome = SignatureFileRead::Outcome::Refused;
    for (const SignatureFileError& error : *errors) {
      read.errors.push_back(SignatureErrorText(path, error));
    }
    return read;
  }
  read.outcome = SignatureFileRead::Outcome::Used;
  read.signatures = SignatureSet(std::get<AddedSignatures>(std::move(parsed)));
  return read;
}

}  // namespace quellspur
