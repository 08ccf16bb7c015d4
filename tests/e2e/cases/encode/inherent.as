; Instructions without operands: the NOP class, PUSH and POP, TRAP and TRET, the debug group.
; NOP2 is one BRA to the next word unless errata bit 0x20000 asks for two NOP words; -no_trans
; assembles NOP as 0000.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: inherent.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=41 loc=0x0 psect="code"
; OUT:   0000: 00 F0 07 00 F3 6A 04 00 01 00 03 00 FF 00 E0 00
; OUT:   0010: E1 00 70 00 71 00 72 00 73 00 05 00 06 00 00 D0
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 --errata=131072 %s
; RUN zel18dump: inherent.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=43 loc=0x0 psect="code"
; OUT:   0000: 00 F0 07 00 F3 6A 04 00 01 00 03 00 FF 00 E0 00
; OUT:   0010: E1 00 70 00 71 00 72 00 73 00 05 00 06 00 00 F0
; OUT:   0020: 00 F0
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 -no_trans %s
; RUN zel18dump: inherent.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=41 loc=0x0 psect="code"
; OUT:   0000: 00 00 07 00 F3 6A 04 00 01 00 03 00 FF 00 E0 00
; OUT:   0010: E1 00 70 00 71 00 72 00 73 00 05 00 06 00 00 D0
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        nop                     ; F000, with -no_trans 0000: F000
        daw                     ; = 0007
        clrw                    ; = 6AF3
        clrwdt                  ; = 0004
        halt                    ; = 0001
        sleep                   ; = 0003
        reset                   ; = 00FF
        trap                    ; = 00E0
        tret                    ; = 00E1
        dboff                   ; = 0070
        dbout                   ; = 0071
        extexit                 ; = 0072
        dbin                    ; = 0073
        push                    ; = 0005
        pop                     ; = 0006
        nop2                    ; a BRA to the next word, two NOPs with errata 0x20000: D000
