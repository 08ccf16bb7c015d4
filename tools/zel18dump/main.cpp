// zel18dump: prints the records of an object file or a relocatable listing file in a stable
// text form (described in dump.cpp), and checks their framing and layout.
//
//   zel18dump [-x] file
//
// Exit status: 0 for a well-formed file, 1 for a malformed or unreadable one, 2 for bad usage.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "dump.h"

int main(int argc, char **argv) {
  DumpOptions opt;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-x") {
      opt.hex = true;
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "zel18dump: unknown option " << a << "\n";
      return 2;
    } else if (file.empty()) {
      file = a;
    } else {
      std::cerr << "zel18dump: more than one file\n";
      return 2;
    }
  }
  if (file.empty()) {
    std::cerr << "usage: zel18dump [-x] file\n";
    return 2;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "zel18dump: " << file << ": cannot open\n";
    return 1;
  }
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "zel18dump: " << file << ": read error\n";
    return 1;
  }
  int status = dump_object(image, file, opt, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
