// gen_prog: writes the random programs of the optimizer's behaviour checks (gen.cpp).
//
//   gen_prog <seed>                      one program on standard output
//   gen_prog -o <dir> <first> <last>     the programs g<seed>.as for the seeds first..last
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "gen.h"

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string dir;
  if (args.size() >= 2 && args[0] == "-o") dir = args[1], args.erase(args.begin(), args.begin() + 2);
  auto number = [](const std::string &s, uint64_t &v) {
    if (s.empty() || s.size() > 19 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    v = std::stoull(s);
    return true;
  };
  uint64_t first = 0, last = 0;
  bool ok = !args.empty() && args.size() <= 2 && number(args[0], first);
  last = first;
  if (ok && args.size() == 2) ok = !dir.empty() && number(args[1], last) && last >= first;
  if (!ok) {
    std::cerr << "usage: gen_prog <seed>  |  gen_prog -o <dir> <first> <last>\n";
    return 1;
  }
  if (dir.empty()) {
    std::cout << gen_program(first);
    return 0;
  }
  for (uint64_t s = first; s <= last; ++s) {
    std::ofstream out(dir + "/g" + std::to_string(s) + ".as");
    out << gen_program(s);
    if (!out) {
      std::cerr << "gen_prog: cannot write " << dir << "/g" << s << ".as\n";
      return 1;
    }
  }
  return 0;
}
