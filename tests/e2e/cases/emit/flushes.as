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
; OUT:   0000: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0010: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0020: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0030: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0040: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0050: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0060: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0070: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0080: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0090: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00A0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00B0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00C0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00D0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00E0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   00F0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0100: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0110: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0120: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0130: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0140: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0150: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0160: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0170: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0180: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0190: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01A0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01B0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01C0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01D0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01E0: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   01F0: 5A 5A 5A
; OUT: TEXT len=110 loc=0x1F3 psect="code"
; OUT:   01F3: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0203: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0213: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0223: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0233: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0243: 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A
; OUT:   0253: 5A 5A 5A 5A 5A
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        rept    600
        db      0x5A
        endm
