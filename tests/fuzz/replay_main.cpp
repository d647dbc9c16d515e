// Runs every file of the given corpus folders through a fuzz target once, so that the normal
// test run replays the committed inputs without libFuzzer or clang.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& file : std::filesystem::directory_iterator(argv[i])) {
      // Named first: when a property fails, the last name printed is the input that broke it.
      std::fprintf(stderr, "replaying %s\n", file.path().c_str());
      std::ifstream in(file.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), {}};
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++inputs;
    }
  }
  std::printf("replayed %d inputs\n", inputs);
  // An empty or missing corpus would pass without checking anything.
  return inputs > 0 ? 0 : 1;
}
