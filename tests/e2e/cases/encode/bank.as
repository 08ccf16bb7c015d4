; Bank selection: MOVLB and BANKSEL take six bits of bank number on an extended-address device
; and four on a standard one, where a wider bank number is cut with a warning (level -4).
; RUN: -mcpu=ZEL18X47 %s
; RUN zel18dump: bank.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18X47" tail=3,11
; OUT: PSECT len=6 flags=0x10(global) name="ram"
; OUT: XPSECT len=21 size=0x0 reloc=0x0 space=0 delta=1 psect="ram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=23 loc=0x0 psect="code"
; OUT:   0000: 00 01 05 01 3F 01 01 01 3F 01 00 01 00 01
; OUT: RELOC len=21
; OUT:   offset=0xC type=0xF6 complex bits=6 expr=(0x3 + ram) >> 0x8
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 -W-4 %s
; ERR: bank.as: 44: (1352) truncation of operand value (0x3f) to 4 bits (warning)
; ERR: bank.as: 46: (1352) truncation of operand value (0x3f) to 4 bits (warning)
; RUN zel18dump: bank.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=6 flags=0x10(global) name="ram"
; OUT: XPSECT len=21 size=0x0 reloc=0x0 space=0 delta=1 psect="ram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=23 loc=0x0 psect="code"
; OUT:   0000: 00 01 05 01 0F 01 01 01 0F 01 00 01 00 01
; OUT: RELOC len=21
; OUT:   offset=0xC type=0xF4 complex bits=4 expr=(0x3 + ram) >> 0x8
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        movlb   0               ; = 0100
        movlb   5               ; 0100 + 5 = 0105
        movlb   0x3F            ; six bits on a ZEL18X, four on a ZEL18: 0100 + 3F = 013F
        banksel 0x120           ; 0100 + (120 >> 8) = 0101
        banksel 0x3F80          ; 0100 + (3F80 >> 8), six bits or four: 0100 + 3F = 013F
        banksel 0               ; = 0100
        banksel var             ; (ram + 3) >> 8 by complex relocation: = 0100

        psect   ram,class=RAM
        ds      3
var:    ds      1
