; Branch forms chosen by sizing. A GOTO 2000 bytes ahead is a BRA with -O and a long GOTO
; without (";=long"); a BZ 300 bytes away is a BNZ over a BRA; a BC to another psect is a BNC
; over a long GOTO; a near backward BNZ stays one word.
; RUN: -mcpu=ZEL18A44 -O -V %s
; WORDS: branches.obj
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS long: branches.obj
        psect   p1,class=CODE,reloc=2
        goto    far             ; -O: d = 2000 - 2, BRA 999 ;= D3E7
                                ;=long EF00 F000 [+0 complex bytes=1 expr=((0x7D2 + p1) >> 0x1) & 0xFF]
                                ;=long [+2 complex bits=12 expr=(0x7D2 + p1) >> 0x9]
        ds      1998
far:    return                  ; at 2000 (-O) or 2002 ;= 0012

        psect   p2,class=CODE,reloc=2
        bz      t300            ; d = 298: BNZ +1 = E101, BRA (300 - 4) / 2 ;= E101 D094
        ds      296
t300:   nop                     ; at 300 ;= F000
        bnz     t300            ; d = -4 ;= E1FE
        bc      far             ; another psect: BNC +2, then a long GOTO by relocation
                                ;= E302 EF00 F000 [+2 complex bytes=1 expr=((0x7D0 + p1) >> 0x1) & 0xFF]
                                ;= [+4 complex bits=12 expr=(0x7D0 + p1) >> 0x9]
                                ;=long E302 EF00 F000 [+2 complex bytes=1 expr=((0x7D2 + p1) >> 0x1) & 0xFF]
                                ;=long [+4 complex bits=12 expr=(0x7D2 + p1) >> 0x9]
