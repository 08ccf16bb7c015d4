// The facts of a ZEL18 device that the linker and the simulator need, read from the chip-info
// file of the installation through the assembler's own loader.
#pragma once

#include <cstdint>
#include <string>

struct SimDevice {
  std::string name;           // as in the chip-info file
  bool extended = false;      // extended-address variant (ZEL18X): 14-bit FSRs, MOVFFL, ADDFSR
  uint32_t rom_size = 0;      // bytes of program memory
  uint32_t ram_size = 0;      // bytes of data memory
  unsigned bsr_bits = 4;      // width of BSR
  uint32_t access_ram_end = 0x60;  // access-bank addresses below this are RAM of bank 0
  uint32_t sfr_page = 0xF00;  // access-bank addresses from access_ram_end map to sfr_page + f
  uint32_t gpr_end = 0xF00;   // first address of the SFR banks: RAM psects end below it
  unsigned stack_depth = 31;  // return-stack entries
  uint32_t intcon = 0;        // address of INTCON (retfie sets its GIE bit 7); 0 if none

  // A core SFR by the low byte of its address on ZEL18 devices (0xD8 STATUS ... 0xFF TOSU).
  uint32_t core(unsigned low) const { return sfr_page | low; }
  uint32_t fsr_mask() const { return extended ? 0x3FFF : 0xFFF; }
};

// Loads the device from chipinfo (empty: the data area beside the program at self_path).
// On failure returns false with the reason in why.
bool sim_load_device(const std::string &device, const std::string &chipinfo, const std::string &self_path,
                     SimDevice &dev, std::string &why);
