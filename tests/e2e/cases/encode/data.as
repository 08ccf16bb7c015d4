; Data statements: bytes, words and double words low byte first, strings, negative items, and a
; word holding an address.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: data.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=25 loc=0x0 psect="code"
; OUT:   0000: 01 FF 61 62 FF 34 12 FE FF 78 56 34 12 0F 00 00
; OUT: RELOC len=8
; OUT:   offset=0xD type=0x12 psect bytes=2 target="code"
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        db      1,0xFF,"ab"     ; one byte each: 01 FF 61 62
        db      -1              ; FF
        dw      0x1234,-2       ; two bytes each, low first: 34 12 FE FF
        ddw     0x12345678      ; four bytes: 78 56 34 12
        dw      here            ; a psect relocation of two bytes: 0F 00
here:   db      0               ; at 0F: 00
