// Object and relocatable-listing file decoder behind zel18dump (the text form is described in
// dump.cpp).
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>

struct DumpOptions {
  bool hex = false;  // also print each record's data bytes
};

// Prints every record of the file image to out; problems go to err as
// "zel18dump: <file>: offset 0x<n>: <message>". Returns 0 when the file is well formed, else 1.
int dump_object(std::span<const uint8_t> image, std::string_view file, const DumpOptions &opt, std::ostream &out,
                std::ostream &err);
