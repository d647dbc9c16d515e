#include "platform/sha256.h"

#include <algorithm>
#include <cstdint>

#include "platform/text.h"

namespace quellspur::platform {
namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Plain arrays and locals, and this inlined even where nothing else is: the host tests run
// unoptimized, and every file the clean-up moves is hashed.
[[gnu::always_inline]] inline std::uint32_t RotateRight(std::uint32_t value, int bits) {
  return value >> bits | value << (32 - bits);
}

}  // namespace

void Sha256::Compress(const unsigned char* block) {
  std::uint32_t* const state = state_;
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i) {
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | std::uint32_t{block[4 * i + 3]};
  }
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 =
        RotateRight(w[i - 15], 7) ^ RotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 =
        RotateRight(w[i - 2], 17) ^ RotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25)) +
                             ((e & f) ^ (~e & g)) + kRoundConstants[i] + w[i];
    const std::uint32_t t2 = (RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22)) +
                             ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

void Sha256::Update(std::string_view bytes) {
  length_ += bytes.size();
  if (!pending_.empty()) {
    const std::size_t taken = std::min<std::size_t>(64 - pending_.size(), bytes.size());
    pending_.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    if (pending_.size() < 64) {
      return;
    }
    Compress(reinterpret_cast<const unsigned char*>(pending_.data()));
    pending_.clear();
  }
  const std::size_t whole = bytes.size() - bytes.size() % 64;
  for (std::size_t offset = 0; offset < whole; offset += 64) {
    Compress(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
  }
  pending_.assign(bytes.substr(whole));
}

std::string Sha256::HexDigest() {
  // The rest, a one bit, zeros up to 8 bytes before a block's end, and the length in bits.
  std::string tail = pending_;
  tail.push_back('\x80');
  tail.append((tail.size() <= 56 ? 56 : 120) - tail.size(), '\0');
  const std::uint64_t bits = length_ * 8;
  for (int shift = 56; shift >= 0; shift -= 8) {
    tail.push_back(static_cast<char>(bits >> shift));
  }
  for (std::size_t offset = 0; offset < tail.size(); offset += 64) {
    Compress(reinterpret_cast<const unsigned char*>(tail.data() + offset));
  }
  std::string hex;
  for (std::uint32_t word : state_) {
    hex += LowerHexDigits(word, 8);
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes) {
  Sha256 hash;
  hash.Update(bytes);
  return hash.HexDigest();
}

}  // namespace quellspur::platform
