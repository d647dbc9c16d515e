// SHA-256 for the simulated machine, which has no cryptographic provider to ask.
#pragma once

#include <string>
#include <string_view>

namespace quellspur::platform::sim {

// The digest of the bytes as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace quellspur::platform::sim
