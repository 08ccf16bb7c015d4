; -C<path> names the chip-info file; each kind of bad file ends the run with its message.
; my.ini puts two core registers at one address: an internal check, off by default.
; RUN: -mcpu=MYCHIP -Cmy.ini %s
; RUN: -mcpu=CHIP -Cmy.ini %s
; RUN: -mcpu=ZEL18A44 -Cmy.ini %s
; EXIT: 1
; ERR: 0: (922) chip "ZEL18A44" not present in chipinfo file "my.ini"
; RUN: -mcpu=MYCHIP -Cnothere.ini %s
; EXIT: 1
; ERR: 0: (141) can't open chip info file "nothere.ini": No such file or directory
; RUN: -mcpu=MYCHIP -Clong.ini %s
; EXIT: 1
; ERR: 0: (919) line too long in chipinfo file "long.ini" at line 2
; RUN: -mcpu=MYCHIP -Cnoclose.ini %s
; EXIT: 1
; ERR: 0: (1024) syntax error in chipinfo file "noclose.ini" at line 2
; RUN: -mcpu=MYCHIP -Cnonhex.ini %s
; EXIT: 1
; ERR: 0: (1021) syntax error reading "RAMSIZE" value in chipinfo file "nonhex.ini" at line 3
; RUN: -mcpu=MYCHIP -Creversed.ini %s
; EXIT: 1
; ERR: 0: (1022) syntax error reading "COMMON" range in chipinfo file "reversed.ini" at line 7
; RUN: -mcpu=MYCHIP -Cempty.ini %s
; EXIT: 1
; ERR: 0: (920) empty chipinfo file
; RUN: -mcpu=MYCHIP -Cgarbage.ini %s
; EXIT: 1
; ERR: 0: (1024) syntax error in chipinfo file "garbage.ini" at line 1
; An unknown key is a warning, once per key whatever its case; a second ARCH is an error.
; RUN: -mcpu=MYCHIP -Cwarn.ini %s
; EXIT: 1
; ERR: 0: (1020) unknown attribute "COLOUR" in chipinfo file "warn.ini" at line 1 (warning)
; ERR: 0: (1020) unknown attribute "SHAPE" in chipinfo file "warn.ini" at line 16 (warning)
; ERR: 0: (816) duplicate ARCH specification in chipinfo file "warn.ini" at line 17
; RUN: -mcpu=MYCHIP -Cew.ini %s
; EXIT: 1
; ERR: 0: (1016) missing argument to "FLASH_EW" specification in chipinfo file "ew.ini" at line 3
; FILE: ew.ini
; | [MYCHIP]
; | ARCH=ZEL18
; | FLASH_EW=40,40,40
; FILE: my.ini
; | # a device of our own
; | [MYCHIP]
; | ARCH=ZEL18
; | RAMSIZE=1000
; | ROMSIZE=8000
; | PCBITS=E
; | BSRBITS=4
; | COMMON=0-5F
; | SFRCOMMON=F60-FFF
; | GPRBANKS=0-EFF
; | SFRBANKS=F00-FFF
; | CFGMEM=300000-30000D
; | SFR=WREG,FF3
; | SFR=STATUS,FF3
; FILE: long.ini
; | [MYCHIP]
; | ALIAS=%rep(3100,a)
; FILE: noclose.ini
; | # one device
; | [MYCHIP
; FILE: nonhex.ini
; | [MYCHIP]
; | ARCH=ZEL18
; | RAMSIZE=1Q00
; FILE: reversed.ini
; | [MYCHIP]
; | ARCH=ZEL18
; | RAMSIZE=1000
; | ROMSIZE=8000
; | PCBITS=E
; | BSRBITS=4
; | COMMON=5F-0
; FILE: empty.ini
; FILE: garbage.ini
; | garbage
; FILE: warn.ini
; | COLOUR=red
; | [MYCHIP]
; | ARCH=ZEL18
; | RAMSIZE=1000
; | ROMSIZE=8000
; | PCBITS=E
; | BSRBITS=4
; | COMMON=0-5F
; | SFRCOMMON=F60-FFF
; | GPRBANKS=0-EFF
; | SFRBANKS=F00-FFF
; | CFGMEM=300000-30000D
; | SFR=WREG,FF3
; | colour=blue
; | Colour=green
; | SHAPE=round
; | ARCH=ZEL18X
        nop
