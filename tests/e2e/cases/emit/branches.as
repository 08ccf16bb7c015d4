; Branch forms chosen by sizing. A GOTO 2000 bytes ahead is a BRA with -O and a long GOTO
; without; a BZ 300 bytes away is a BNZ over a BRA; a BC to another psect is a BNC over a long
; GOTO; a near backward BNZ stays one word.
; RUN: -mcpu=ZEL18A44 -O %s
; RUN zel18dump: branches.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=5 flags=0x10(global) name="p2"
; OUT: XPSECT len=21 size=0x0 reloc=0x2 space=0 delta=1 psect="p2" class="CODE" with=""
; OUT: PSECT len=5 flags=0x10(global) name="p1"
; OUT: XPSECT len=21 size=0x0 reloc=0x2 space=0 delta=1 psect="p1" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=9 loc=0x0 psect="p1"
; OUT:   0000: E7 D3
; OUT: TEXT len=9 loc=0x7D0 psect="p1"
; OUT:   07D0: 12 00
; OUT: TEXT len=11 loc=0x0 psect="p2"
; OUT:   0000: 01 E1 94 D0
; OUT: TEXT len=17 loc=0x12C psect="p2"
; OUT:   012C: 00 F0 FE E1 02 E3 00 EF 00 F0
; OUT: RELOC len=46
; OUT:   offset=0x6 type=0x31 complex bytes=1 expr=((0x7D0 + p1) >> 0x1) & 0xFF
; OUT:   offset=0x8 type=0xFC complex bits=12 expr=(0x7D0 + p1) >> 0x9
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: branches.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=5 flags=0x10(global) name="p2"
; OUT: XPSECT len=21 size=0x0 reloc=0x2 space=0 delta=1 psect="p2" class="CODE" with=""
; OUT: PSECT len=5 flags=0x10(global) name="p1"
; OUT: XPSECT len=21 size=0x0 reloc=0x2 space=0 delta=1 psect="p1" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=11 loc=0x0 psect="p1"
; OUT:   0000: 00 EF 00 F0
; OUT: RELOC len=46
; OUT:   offset=0x0 type=0x31 complex bytes=1 expr=((0x7D2 + p1) >> 0x1) & 0xFF
; OUT:   offset=0x2 type=0xFC complex bits=12 expr=(0x7D2 + p1) >> 0x9
; OUT: TEXT len=9 loc=0x7D2 psect="p1"
; OUT:   07D2: 12 00
; OUT: TEXT len=11 loc=0x0 psect="p2"
; OUT:   0000: 01 E1 94 D0
; OUT: TEXT len=17 loc=0x12C psect="p2"
; OUT:   012C: 00 F0 FE E1 02 E3 00 EF 00 F0
; OUT: RELOC len=46
; OUT:   offset=0x6 type=0x31 complex bytes=1 expr=((0x7D2 + p1) >> 0x1) & 0xFF
; OUT:   offset=0x8 type=0xFC complex bits=12 expr=(0x7D2 + p1) >> 0x9
; OUT: END len=2
        psect   p1,class=CODE,reloc=2
        goto    far             ; -O: d = 2000 - 2, BRA 999 = D3E7
        ds      1998
far:    return                  ; at 2000 (-O) or 2002

        psect   p2,class=CODE,reloc=2
        bz      t300            ; d = 298: BNZ +1 = E101, BRA (300 - 4) / 2 = D094
        ds      296
t300:   nop                     ; at 300
        bnz     t300            ; d = -4: E1FE
        bc      far             ; another psect: BNC +2 = E302, long GOTO
