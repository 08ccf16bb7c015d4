// The core special function registers of the ZEL18: fixed identities bound to the
// selected device's addresses, and the questions the optimizer and printers ask about them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

struct Assembly;

// Core register ids: the position in the table. Pointer n's access registers are five
// consecutive ids (INDFn, POSTINCn, POSTDECn, PREINCn, PLUSWn) from 14, 22 and 30.
enum CoreSfrId : uint32_t {
  SFR_TOSU = 1, SFR_TOSH, SFR_TOSL, SFR_STKPTR, SFR_PCLATU, SFR_PCLATH, SFR_PCL, SFR_TBLPTRU,
  SFR_TBLPTRH, SFR_TBLPTRL, SFR_TABLAT, SFR_PRODH, SFR_PRODL, SFR_INDF0, SFR_POSTINC0, SFR_POSTDEC0,
  SFR_PREINC0, SFR_PLUSW0, SFR_FSR0H, SFR_FSR0L, SFR_WREG, SFR_INDF1, SFR_POSTINC1, SFR_POSTDEC1,
  SFR_PREINC1, SFR_PLUSW1, SFR_FSR1H, SFR_FSR1L, SFR_BSR, SFR_INDF2, SFR_POSTINC2, SFR_POSTDEC2,
  SFR_PREINC2, SFR_PLUSW2, SFR_FSR2H, SFR_FSR2L, SFR_STATUS,
  SFR_COUNT = SFR_STATUS,
  SFR_END = 0xFFFFFFFFu,  // end marker of the table
};

struct CoreSfr {
  uint32_t id;       // 1 to 37, or SFR_END
  const char *name;  // lower case, as the device description spells it
};

// The constant table, in id order, ending with the end marker.
inline constexpr std::array<CoreSfr, SFR_COUNT + 1> core_sfrs = {{
    {SFR_TOSU, "tosu"},         {SFR_TOSH, "tosh"},         {SFR_TOSL, "tosl"},
    {SFR_STKPTR, "stkptr"},     {SFR_PCLATU, "pclatu"},     {SFR_PCLATH, "pclath"},
    {SFR_PCL, "pcl"},           {SFR_TBLPTRU, "tblptru"},   {SFR_TBLPTRH, "tblptrh"},
    {SFR_TBLPTRL, "tblptrl"},   {SFR_TABLAT, "tablat"},     {SFR_PRODH, "prodh"},
    {SFR_PRODL, "prodl"},       {SFR_INDF0, "indf0"},       {SFR_POSTINC0, "postinc0"},
    {SFR_POSTDEC0, "postdec0"}, {SFR_PREINC0, "preinc0"},   {SFR_PLUSW0, "plusw0"},
    {SFR_FSR0H, "fsr0h"},       {SFR_FSR0L, "fsr0l"},       {SFR_WREG, "wreg"},
    {SFR_INDF1, "indf1"},       {SFR_POSTINC1, "postinc1"}, {SFR_POSTDEC1, "postdec1"},
    {SFR_PREINC1, "preinc1"},   {SFR_PLUSW1, "plusw1"},     {SFR_FSR1H, "fsr1h"},
    {SFR_FSR1L, "fsr1l"},       {SFR_BSR, "bsr"},           {SFR_INDF2, "indf2"},
    {SFR_POSTINC2, "postinc2"}, {SFR_POSTDEC2, "postdec2"}, {SFR_PREINC2, "preinc2"},
    {SFR_PLUSW2, "plusw2"},     {SFR_FSR2H, "fsr2h"},       {SFR_FSR2L, "fsr2l"},
    {SFR_STATUS, "status"},     {SFR_END, nullptr},
}};;

// Per-run binding of the core registers to the device's addresses.
struct SfrState {
  struct Bound {
    uint64_t addr;
    uint32_t id;
  };
  std::array<uint64_t, SFR_COUNT + 1> addr{};  // by id; 0 while unbound
  std::array<Bound, SFR_COUNT> by_addr{};      // the bound registers in address order
  uint32_t bound = 0;                          // entries of by_addr in use
  bool initialized = false;
};

// The absolute constant of an operand value: nothing when the value is missing or has a
// symbol or psect part. The value module converts its records into this form.
using SfrOperand = std::optional<long long>;

// Binds the core registers to the loaded device's SFRs; runs once.
void sfr_init(Assembly &as);
// The bound address of a core register; 0 for an unknown id or an unbound register.
uint64_t sfr_addr(const Assembly &as, uint32_t id);
// The core register at an address, or null.
const char *sfr_name(const Assembly &as, long long addr);
// The id of the core register bound at an address; 0 if none is (or the table is not made).
uint32_t sfr_id_at(const SfrState &s, uint64_t addr);

bool sfr_is_sfr(Assembly &as, SfrOperand v);  // a core register or inside the device's SFR area
bool sfr_is_indirect(const Assembly &as, SfrOperand v);
unsigned sfr_fsr_number(const Assembly &as, SfrOperand v);  // pointer number + 1, 0 if none
bool sfr_is_wreg(const Assembly &as, SfrOperand v);
bool sfr_is_status(const Assembly &as, SfrOperand v);
bool sfr_is_bsr(const Assembly &as, SfrOperand v);
bool sfr_is_pc(const Assembly &as, SfrOperand v);
bool sfr_is_tos(const Assembly &as, SfrOperand v);
bool sfr_is_postinc(const Assembly &as, SfrOperand v);
bool sfr_is_postdec(const Assembly &as, SfrOperand v);
bool sfr_is_preinc(const Assembly &as, SfrOperand v);
bool sfr_is_plusw(const Assembly &as, SfrOperand v);
