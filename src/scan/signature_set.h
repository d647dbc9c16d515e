// The added signatures a scan uses, kept for quick look-ups: a file's digest is found among
// thousands of hash signatures at the cost of one, and a file whose length no signature names is
// never hashed. And reading them from a signature file on the machine.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/os.h"
#include "scan/signature_file.h"

namespace quellspur {

class SignatureSet {
 public:
  SignatureSet() = default;
  explicit SignatureSet(AddedSignatures added);

  const std::vector<AddedWindowSignature>& windows() const { return added_.windows; }
  const std::vector<AddedHashSignature>& hashes() const { return added_.hashes; }
  bool HasHashes() const { return !added_.hashes.empty(); }

  // Whether a file of this length may have a listed digest, so that hashing it is worth while.
  bool MayMatchLength(std::uint64_t length) const;
  // The signature of a file with this digest and length; nullptr when none lists it.
  const AddedHashSignature* Match(const std::string& sha256, std::uint64_t length) const;

 private:
  AddedSignatures added_;
  std::unordered_map<std::string, std::size_t> byDigest_;  // index into added_.hashes
  std::unordered_set<std::uint64_t> lengths_;
  bool anyLength_ = false;
};

struct SignatureFileRead {
  enum class Outcome {
    Missing,  // no file: only the built-in signatures
    Used,
    Refused,  // not used at all, for the reasons given
  };
  Outcome outcome = Outcome::Missing;
  SignatureSet signatures;           // empty unless used
  std::vector<std::wstring> errors;  // when refused: each as a line of text naming the file
  std::string sha256;                // of the bytes read, to tell one content from another
};

// Reads and parses the file at the path; one larger than kLargestSignatureFile is refused unread.
SignatureFileRead ReadSignatureFile(platform::Os& os, const std::wstring& path);

}  // namespace quellspur
