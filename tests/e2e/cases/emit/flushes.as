; A long run of data bytes through the whole assembler: a TEXT record takes a 1-byte field only
; while its write position is below 511, so after the 12 header bytes (type and length, the
; location, "code" and its NUL) the first record holds 499 bytes (length 508) and the second
; starts at location 499 (0x1F3) with the other 101 (length 4 + 5 + 101 = 110). The dumper
; shows each byte row at its location.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: flushes.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=508 loc=0x0 psect="code"
; OUT: %rows(0,499,5A)
; OUT: TEXT len=110 loc=0x1F3 psect="code"
; OUT: %rows(1F3,101,5A)
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        rept    600
        db      0x5A
        endm
