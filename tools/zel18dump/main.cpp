// zel18dump: prints the records of an object file or a relocatable listing file in a stable
// text form (described in dump.cpp), and checks their framing and layout.
//
//   zel18dump [-x] file
//   zel18dump --help
//
// Exit status: 0 for a well-formed file, 1 for a malformed or unreadable one, 2 for bad usage.
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "dump.h"
#include "host/os.h"

namespace {

const char USAGE[] =
    "usage: zel18dump [-x] file\n"
    "\n"
    "Prints an object file or a relocatable listing file one record per line.\n"
    "\n"
    "  -x       also print each record's bytes in hexadecimal\n"
    "  --help   print this text and exit\n"
    "\n"
    "Exit status: 0 for a well-formed file, 1 for a damaged or unreadable one,\n"
    "2 for a wrong command line.\n";

}  // namespace

int main(int argc, char **argv) {
  DumpOptions opt;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-x") {
      opt.hex = true;
    } else if (a == "--help") {
      std::cout << USAGE;
      std::cout.flush();
      return std::cout ? 0 : 1;
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
  try {
    // Object files of real programs are a few megabytes; this bounds what a device can feed in.
    constexpr size_t IMAGE_MAX = size_t{64} << 20;
    FileId id;
    std::FILE *in = os_open_input(file, id);
    if (!in) {
      std::cerr << "zel18dump: " << file << ": cannot open: " << os_errtext(errno) << "\n";
      return 1;
    }
    std::vector<uint8_t> image;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0 && image.size() <= IMAGE_MAX)
      image.insert(image.end(), buf, buf + n);
    bool bad = std::ferror(in);
    std::fclose(in);
    if (bad || image.size() > IMAGE_MAX) {
      std::cerr << "zel18dump: " << file << ": " << (bad ? "read error" : "larger than any object file") << "\n";
      return 1;
    }
    int status = dump_object(image, file, opt, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
      std::cerr << "zel18dump: write error on standard output: " << os_errtext(errno) << "\n";
      return 1;
    }
    return status;
  } catch (const std::bad_alloc &) {
    std::cerr << "zel18dump: " << file << ": out of memory\n";
    return 1;
  }
}
