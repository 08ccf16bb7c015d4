// Fuzz target: the object-file dumper's reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "dump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::ostringstream out, err;
  DumpOptions opt;
  opt.hex = size > 0 && (data[0] & 1);
  dump_object(std::span<const uint8_t>(data, size), "fuzz.obj", opt, out, err);
  return 0;
}
