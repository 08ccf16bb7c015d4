; Branches, calls, jumps and returns: relative displacements both ways, the short and long
; conditional forms at their limits and towards a constant, near calls turned into RCALL, the
; fast flag of CALL, RETURN and RETFIE, and GOTO short only with -O (";=opt").
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: control.obj
; RUN: -mcpu=ZEL18A44 -O -V %s
; WORDS opt: control.obj
        psect   code,class=CODE,reloc=2
; Relative branches and calls: n = (target - (location + 2)) / 2 in the low 11 bits.
L0:     bra     L0              ; 0000: n = (0 - 2) / 2 = -1: D000 + 7FF ;= D7FF
        bra     L1              ; 0002: n = (A - 4) / 2 = 3: D000 + 3 ;= D003
        rcall   L0              ; 0004: n = (0 - 6) / 2 = -3: D800 + 7FD ;= DFFD
        rcall   $+2             ; 0006: n = (8 - 8) / 2 = 0: D800 ;= D800
        nop                     ; 0008 ;= F000
; Conditional branches: n in the low 8 bits.
L1:     bc      L1              ; 000A: n = (A - C) / 2 = -1: E200 + FF ;= E2FF
        bnc     L0              ; 000C: n = (0 - E) / 2 = -7: E300 + F9 ;= E3F9
        ds      14              ; 000E-001B: the other conditions, executed in sim/branches.as
        bnn     L2              ; 001C: n = 0: E700 ;= E700
; Returns and the fast flag.
L2:     return                  ; 001E ;= 0012
        return  0               ;= 0012
        return  1               ; 0012 + 1 ;= 0013
        return  f               ; 0012 + 1 ;= 0013
        retfie                  ;= 0010
        retfie  1               ; 0010 + 1 ;= 0011
        retfie  f               ; 0010 + 1 ;= 0011
; Conditional branch sizes at the limits of the short form. A forward target whose distance
; fits the short form once the branch itself is short keeps the short form.
        bz      B1              ; 002C: d = 12C - 2E = 254, short: n = 127: E000 + 7F ;= E07F
        ds      254
B1:     bnz     B2              ; 012C: d = 256 even if short, so BZ +1 over a BRA, n = (230 - 130) / 2 = 80 ;= E001 D080
        ds      256
B2:     ds      254             ; at 0230, the target of both
        bc      B2              ; 032E: d = 230 - 330 = -256, short: n = -128: E200 + 80 ;= E280
        bnn     B2              ; 0330: d = -258, BN +1 over a BRA with n = (230 - 334) / 2 = -130
                                ;= E601 D77E
        bov     0x1234          ; 0334: not in the psect, BNOV over a GOTO: E500 + 2,
                                ; EF00 + (1234 >> 1) & FF, F000 + (1234 >> 9)
                                ;= E502 EF1A F009
; Calls: near ones become RCALL, the fast flag keeps the long form.
        call    L0              ; 033A: n = (0 - 33C) / 2 = -414 = 662: D800 + 662 ;= DE62
        fcall   L2              ; 033C: n = (1E - 33E) / 2 = -400 = 670: D800 + 670 ;= DE70
        call    0x1234          ; 033E: EC00 + 1A, F000 + 9 ;= EC1A F009
        call    0x1234,f        ; 0342: EC00 + 100 + 1A, F000 + 9 ;= ED1A F009
        call    0x1234,0        ; 0346: EC00 + 1A, F000 + 9 ;= EC1A F009
        call    L2,1            ; 034A: the address by relocation ;= ED00 F000
                                ;= [+0 complex bytes=1 expr=((0x1E + code) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=(0x1E + code) >> 0x9]
; Jumps: long, unless -O finds the target near in the same psect.
        goto    0x1234          ; 034E: EF00 + 1A, F000 + 9 ;= EF1A F009
        ljmp    0x2468          ; 0352: EF00 + (2468 >> 1) & FF, F000 + (2468 >> 9) ;= EF34 F012
        goto    L0              ; 0356: by relocation; with -O d = -856, a BRA with n = -428
                                ;= EF00 F000 [+0 complex bytes=1 expr=(code >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=code >> 0x9] ;=opt D654
