// zel18sim's linker: reads object files, places their psects in program and data memory,
// resolves symbols and applies the relocations.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "device.h"

enum SimSpace : int {
  SPACE_PROGRAM = 0,  // program memory
  SPACE_DATA = 1,     // data memory
  SPACE_OTHER = 2,    // any other memory space (configuration words, ID locations, ...)
};

// A placed psect, for the link map.
struct PlacedPsect {
  std::string name;
  std::string cls;
  int space;       // SimSpace
  uint32_t base;   // byte address
  uint32_t size;   // bytes
};

// A symbol of the linked program.
struct LinkedSymbol {
  uint32_t addr = 0;  // in address units of its psect (bytes for every ZEL18 psect)
  int space = -1;     // SimSpace of its psect; -1 for an absolute value
};

struct LinkedProgram {
  std::vector<uint8_t> prog;                // program memory, 0xFF where nothing was placed
  std::map<uint32_t, uint8_t> other;        // bytes placed beyond program memory
  std::vector<uint8_t> data;                // initial data memory
  std::unordered_map<std::string, LinkedSymbol> symbols;  // global symbols
  std::vector<PlacedPsect> psects;          // in placement order
};

// An object file: its name (for messages) and its bytes.
struct ObjImage {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Links the object files for dev. A problem is described in why as "<file>: <message>" (or
// "<message>" when no one file is at fault) and the result is false.
bool sim_link(const std::vector<std::string> &files, const SimDevice &dev, LinkedProgram &out, std::string &why);
bool sim_link_images(const std::vector<ObjImage> &images, const SimDevice &dev, LinkedProgram &out, std::string &why);

// The device named by the IDENT record of an object file ("ZEL18A44" of "ZEL18A44:ZEL18:ISA=STD"),
// or empty when the file cannot tell.
std::string sim_object_machine(const std::string &file);
