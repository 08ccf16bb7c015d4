; Runs that end badly and input that zel18sim refuses: one message naming the place, exit 1.
; FILE: overflow.as
; |         psect   text,class=CODE,reloc=2
; | loop:   rcall   loop
; FILE: underflow.as
; |         psect   text,class=CODE,reloc=2
; |         return
; FILE: reset.as
; |         psect   text,class=CODE,reloc=2
; |         nop
; |         reset
; FILE: trap.as
; |         psect   text,class=CODE,reloc=2
; |         trap
; FILE: forever.as
; |         psect   text,class=CODE,reloc=2
; |         bra     $
; FILE: runaway.as
; |         org     0
; |         goto    0xFFFC
; |         org     0xFFFC
; |         nop
; FILE: undef.as
; |         global  missing
; |         psect   text,class=CODE,reloc=2
; |         call    missing
; FILE: vec.as
; |         psect   vec,class=CODE,abs,ovrld
; |         org     0
; |         goto    0x100
; FILE: vec2.as
; |         psect   vec2,class=CODE,abs,ovrld
; |         org     2
; |         nop
; FILE: vec3.as
; |         psect   vec,class=CODE,abs,ovrld
; |         org     0
; |         goto    0x200
; FILE: wide.as
; |         psect   bank2v,class=BANK2,space=1
; | big:    ds      1
; |         psect   text,class=CODE,reloc=2
; |         movlw   big
; HEXFILE: cut.obj
; | 11 00 07 00 01 02 03    # an IDENT record that ends early
; FILE: exp.as
; | ; EXPECT: W=01 0x10=02
; |         psect   text,class=CODE,reloc=2
; |         movlw   2
; |         movwf   0x10,c
; |         movwf   0x11,c
; |         sleep
; RUN: -mcpu=ZEL18A44 overflow.as
; RUN zel18sim: -q overflow.obj
; EXIT: 1
; ERR: zel18sim: overflow.obj: return stack overflow at 0x000000 after 32 instructions
; RUN: -mcpu=ZEL18A44 underflow.as
; RUN zel18sim: -q underflow.obj
; EXIT: 1
; ERR: zel18sim: underflow.obj: return stack underflow at 0x000000 after 1 instruction
; RUN: -mcpu=ZEL18A44 reset.as
; RUN zel18sim: -q reset.obj
; EXIT: 1
; ERR: zel18sim: reset.obj: reset at 0x000002 after 2 instructions
; RUN: -mcpu=ZEL18A44 trap.as
; RUN zel18sim: -q trap.obj
; EXIT: 1
; ERR: zel18sim: trap.obj: unknown opcode at 0x000000 after 1 instruction
; RUN: -mcpu=ZEL18A44 forever.as
; RUN zel18sim: -q --steps=100 forever.obj
; EXIT: 1
; ERR: zel18sim: forever.obj: step limit reached at 0x000000 after 100 instructions
; RUN: -mcpu=ZEL18A44 runaway.as
; RUN zel18sim: -q runaway.obj
; EXIT: 1
; ERR: zel18sim: runaway.obj: execution outside program memory at 0x010000 after 3 instructions
; RUN: -mcpu=ZEL18A44 undef.as
; RUN zel18sim: undef.obj
; EXIT: 1
; ERR: zel18sim: undef.obj: undefined symbol "missing"
; RUN: -mcpu=ZEL18A44 vec.as
; RUN: -mcpu=ZEL18A44 vec2.as
; RUN: -mcpu=ZEL18A44 vec3.as
; RUN zel18sim: vec.obj vec2.obj
; EXIT: 1
; ERR: zel18sim: vec2.obj: absolute psect "vec2" overlaps psect "vec"
; RUN zel18sim: vec.obj vec3.obj
; EXIT: 1
; ERR: zel18sim: vec3.obj: psect "vec" overlaps other code or data at 0x0
; RUN: -mcpu=ZEL18A44 wide.as
; RUN zel18sim: wide.obj
; EXIT: 1
; ERR: zel18sim: wide.obj: psect "text" offset 0x0: value 0x200 does not fit the 8-bit field (relocation against "bank2v")
; RUN zel18sim: cut.obj
; EXIT: 1
; ERR: zel18sim: cut.obj: offset 0x0: Incomplete record: "IDENT" (17)
; RUN zel18sim: nothere.obj
; EXIT: 1
; ERR: zel18sim: nothere.obj: cannot open
; RUN zel18sim: --chipinfo=none.ini cut.obj
; EXIT: 1
; ERR: zel18sim: device ZEL18A44: (141) can't open chip info file "none.ini": No such file or directory
; RUN zel18sim: --steps=0 cut.obj
; EXIT: 1
; ERR: zel18sim: bad step limit "0"
; ERR: usage: zel18sim [-mcpu=<device>] [--chipinfo=<file>] [--steps=<n>] [-s <name>[:<n>]] [--expect=<source>]
; ERR:                 [--map] [--trace] [-q] file.obj... [--compare file.obj...]...
; RUN zel18sim: -x
; EXIT: 1
; ERR: zel18sim: unknown option -x
; ERR: usage: zel18sim [-mcpu=<device>] [--chipinfo=<file>] [--steps=<n>] [-s <name>[:<n>]] [--expect=<source>]
; ERR:                 [--map] [--trace] [-q] file.obj... [--compare file.obj...]...
; RUN: -mcpu=ZEL18A44 exp.as
; RUN zel18sim: -q --expect=exp.as exp.obj
; EXIT: 1
; ERR: exp.as:1: expected W=01: W is 02
; ERR: exp.as: unexpected byte 0x011: 02
