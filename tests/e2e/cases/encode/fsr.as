; FSR instructions: LFSR with the split of k on extended-address and standard devices, ADDFSR
; and SUBFSR with every FSR number and the ends of k. On a standard device ADDFSR and SUBFSR
; are accepted in extended-instruction-set mode.
; RUN: -mcpu=ZEL18X47 %s
; RUN zel18dump: fsr.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18X47" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=39 loc=0x0 psect="code"
; OUT:   0000: 00 EE 23 F1 13 EE 80 F3 2F EE FF F3 30 EE 00 F0
; OUT:   0010: 01 E8 45 E8 BF E8 C2 E8 3F E9 60 E9 81 E9
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 --xinst %s
; RUN zel18dump: fsr.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x0 type=16(global) base="" name="isa$std"
; OUT:   value=0x1 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=39 loc=0x0 psect="code"
; OUT:   0000: 01 EE 23 F0 1F EE 80 F0 2F EE FF F0 30 EE 00 F0
; OUT:   0010: 01 E8 45 E8 BF E8 C2 E8 3F E9 60 E9 81 E9
; OUT: END len=2
        psect   code,class=CODE,reloc=2
; LFSR: the FSR number times 10 and the high bits of k, then the low bits. Standard devices take
; k bits 11-8 and 7-0; extended-address devices bits 13-10 and 9-0.
        lfsr    0,0x123         ; EE00 + 1, F000 + 23; extended EE00 + 0, F000 + 123: EE01 F023 / EE00 F123
        lfsr    1,0xF80         ; EE00 + 10 + F, F000 + 80; extended EE00 + 10 + 3, F000 + 380: EE1F F080 / EE13 F380
        lfsr    2,0x3FFF        ; EE00 + 20 + F, F000 + FF; extended EE00 + 20 + F, F000 + 3FF: EE2F F0FF / EE2F F3FF
        lfsr    3,0             ; EE00 + 30, F000 + 0, extended the same: EE30 F000
; ADDFSR and SUBFSR: the FSR number times 40 and a six-bit k.
        addfsr  0,1             ; E800 + 0 + 1 = E801
        addfsr  1,5             ; E800 + 40 + 5 = E845
        addfsr  2,63            ; E800 + 80 + 3F = E8BF
        addfsr  3,2             ; E800 + C0 + 2 = E8C2
        subfsr  0,63            ; E900 + 0 + 3F = E93F
        subfsr  1,0x20          ; E900 + 40 + 20 = E960
        subfsr  2,1             ; E900 + 80 + 1 = E981
