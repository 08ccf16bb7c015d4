// Fuzz target: zel18sim's linker and core on an arbitrary object file, run for a bounded time;
// the first byte's low bit picks a standard or an extended-address device.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "cpu.h"
#include "link.h"
#include "state.h"

namespace {

SimDevice load(const char *name) {
  SimDevice d;
  std::string why;
  sim_load_device(name, ASZEL18_SOURCE_DIR "/data/quillon-18.ini", "", d, why);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const SimDevice devices[2] = {load("ZEL18A44"), load("ZEL18X47")};
  const SimDevice &dev = devices[size > 0 && (data[0] & 1)];
  LinkedProgram p;
  std::string why;
  if (!sim_link_images({{"fuzz.obj", std::vector<uint8_t>(data, data + size)}}, dev, p, why)) return 0;
  Cpu cpu(dev, p.prog, p.other, p.data);
  cpu.run(20000);
  std::ostringstream out;
  sim_print_state(cpu, out);
  return 0;
}
