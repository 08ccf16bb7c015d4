// Fuzz target: one whole assembly run in-process on a source text. The first byte selects
// options; the rest is the source, written to a file of this process. The device records are
// read once per process and copied into each run; every other piece of state is the run's own.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device/chip.h"
#include "driver/assembly.h"
#include "driver/run.h"

namespace {

const std::string CHIPINFO = ASZEL18_SOURCE_DIR "/data/quillon-18.ini";

// The directory the runs write in, removed when the process ends: in memory where the system
// has a memory file system, since creating and renaming files on a disk costs more than a run.
struct WorkDir {
  std::string path;
  WorkDir() {
    for (const char *base : {"/dev/shm", "/tmp"}) {
      std::string name = std::string(base) + "/aszel18-fuzz-XXXXXX";
      if (::mkdtemp(name.data())) {
        path = name;
        return;
      }
    }
    path = "/tmp";
  }
  ~WorkDir() {
    std::error_code ec;
    if (path != "/tmp") std::filesystem::remove_all(path, ec);
  }
};

// Quiet streams for runs whose messages nobody reads.
void quiet(Assembly &as, std::ostringstream &out, std::ostringstream &err) {
  as.io.out = &out;
  as.io.err = &err;
  as.msg.err = &err;
}

// The two devices the options select, each loaded by a run of its own that stays alive: the
// records' names live in that run's string table.
const std::vector<PreloadedChip> &devices() {
  static std::vector<std::unique_ptr<Assembly>> loaders;
  static const std::vector<PreloadedChip> chips = [] {
    std::vector<PreloadedChip> v;
    for (const char *device : {"ZEL18A44", "ZEL18X100"}) {
      auto as = std::make_unique<Assembly>();
      std::ostringstream out, err;
      quiet(*as, out, err);
      try {
        run_start(*as);
        run_setup(*as, {"aszel18", "-C" + CHIPINFO, std::string("-mcpu=") + device, "in.as"});
      } catch (const AsmExit &) {
      }
      if (as->dev.chip && !as->drv.inputs.empty())
        v.push_back({device, CHIPINFO, as->drv.inputs.front(), as->dev.chip.get()});
      loaders.push_back(std::move(as));
    }
    return v;
  }();
  return chips;
}

}  // namespace

// A run allocates a few hundred kilobytes and frees them all; the sanitizer's default 256 MiB
// quarantine of freed blocks makes every run fault in fresh pages. Sixteen MiB still keeps each
// run's freed blocks out of reuse until long after the run has ended.
extern "C" const char *__asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  static const WorkDir dir;
  const std::string src = dir.path + "/in.as";
  {
    std::ofstream f(src, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  uint8_t sel = data[0];
  std::vector<std::string> args = {"aszel18", "-C" + CHIPINFO, "-mcpu=ZEL18A44", "-O" + dir.path + "/out.obj"};
  if (sel & 1) args.push_back("-O");
  if (sel & 2) args.push_back("-L" + dir.path + "/out.lst");
  if (sel & 4) args.push_back("-A");
  if (sel & 8) args.push_back("-H");
  if (sel & 16) args.push_back("--xinst");
  if (sel & 32) args.push_back("-mcpu=ZEL18X100");
  if (sel & 64) args.push_back("--opt=space");
  if (sel & 128) args.push_back("--errata=16385");
  args.push_back(src);
  Assembly as;
  as.dev.preloaded = &devices();
  // A smaller expansion budget: the budget's checks are met as they are with the full one, and
  // a mutated REPT count, which reaches the budget at once, costs a few milliseconds, not tenths
  // of a second.
  as.mac.max_lines = 1 << 12;
  as.mac.max_text = 1 << 18;
  std::ostringstream out, err;
  quiet(as, out, err);
  run_assembly(as, args);
  return 0;
}
