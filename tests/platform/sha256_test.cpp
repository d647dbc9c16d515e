#include <gtest/gtest.h>

#include "platform/sha256.h"

namespace quellspur::testing {
namespace {

// Windows before XP SP3 feeds a file to our own SHA-256 in pieces of whatever size it reads.
TEST(Sha256, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
  EXPECT_EQ(platform::Sha256Hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  std::string bytes;
  for (int i = 0; i < 1000; ++i) {
    bytes += static_cast<char>(i * 7);
  }
  for (std::size_t piece : {1u, 55u, 56u, 63u, 64u, 65u, 999u}) {
    platform::Sha256 hash;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      hash.Update(std::string_view(bytes).substr(at, piece));
    }
    EXPECT_EQ(hash.HexDigest(), platform::Sha256Hex(bytes)) << piece;
  }
}

}  // namespace
}  // namespace quellspur::testing
