// The signature file beside the programs: read at each run of QuellScan, and by the window program
// at its start and again whenever it changed.
#include <exception>

#include "engine/engine.h"

namespace quellspur {

std::wstring Engine::SignatureFilePath() {
  std::wstring folder = os_.GetProgramFolder();
  if (folder.empty() || folder.back() != L'\\') {
    folder += L'\\';
  }
  return folder + kSignatureFileName;
}

SignatureFileRead Engine::LoadSignatures(const std::wstring& path) {
  SignatureFileRead read = ReadSignatureFile(os_, path);
  scanner_.UseSignatures(read.signatures);
  return read;
}

void Engine::WatchSignatureFile(std::function<void(const std::vector<std::wstring>&)> refused) {
  signaturesRefused_ = std::move(refused);
  watchingSignatures_ = true;
  ReadWatchedSignatures();
}

void Engine::ReadWatchedSignatures() {
  const std::wstring path = SignatureFilePath();
  platform::FileStamp stamp;
  signatureStamp_.reset();
  if (os_.GetFileAttributesExW(path, stamp)) {
    signatureStamp_ = stamp;
  }
  SignatureFileRead read;
  try {
    read = LoadSignatures(path);
  } catch (const std::exception&) {
    // The scans go on with the signatures they had; the next change is read again.
    signatureStamp_.reset();
    return;
  }
  if (read.outcome != SignatureFileRead::Outcome::Refused) {
    refusedSha256_.clear();
  } else if (read.sha256.empty() || read.sha256 != refusedSha256_) {
    // An unreadable file has no content to remember; it is told each time it is read.
    refusedSha256_ = read.sha256;
    signaturesRefused_(read.errors);
  }
}

void Engine::ReloadChangedSignatures() {
  platform::FileStamp stamp;
  const bool present = os_.GetFileAttributesExW(SignatureFilePath(), stamp);
  if (present ? signatureStamp_ == stamp : !signatureStamp_) {
    return;
  }
  ReadWatchedSignatures();
}

}  // namespace quellspur
