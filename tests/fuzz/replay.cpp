// Replays saved fuzz inputs through a fuzz target's entry point, in ordinary builds: every file
// of the given directories once. A crash or a sanitizer report fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
  namespace fs = std::filesystem;
  unsigned n = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (!fs::is_directory(argv[i], ec)) continue;
    std::vector<fs::path> files;
    for (const auto &e : fs::directory_iterator(argv[i])) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto &f : files) {
      std::ifstream in(f, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++n;
    }
  }
  std::printf("%u inputs replayed\n", n);
  return 0;
}
