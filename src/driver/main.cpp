// aszel18: the ZEL18 macro assembler.
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "driver/run.h"
#include "host/os.h"

int main(int argc, char **argv) {
  Assembly as;
  as.io.in_is_tty = os_stdin_is_tty();
  as.host.self_path = os_self_path(argc > 0 ? argv[0] : nullptr);
  std::vector<std::string> args(argv, argv + argc);
  return run_assembly(as, std::move(args));
}
