; Branches, calls, jumps and returns: every conditional branch, relative displacements both
; ways, the short and long conditional forms at their limits and towards a constant, near calls
; turned into RCALL, the fast flag of CALL, RETURN and RETFIE, and GOTO short only with -O.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: control.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=55 loc=0x0 psect="code"
; OUT:   0000: FF D7 03 D0 FD DF 00 D8 00 F0 FF E2 F9 E3 07 E0
; OUT:   0010: 06 E1 05 E4 04 E5 03 E5 02 E6 01 E6 00 E7 12 00
; OUT:   0020: 12 00 13 00 13 00 10 00 11 00 11 00 7F E0
; OUT: TEXT len=13 loc=0x12C psect="code"
; OUT:   012C: 01 E0 80 D0
; OUT: TEXT len=53 loc=0x32E psect="code"
; OUT:   032E: 80 E2 01 E6 7E D7 02 E5 1A EF 09 F0 62 DE 70 DE
; OUT:   033E: 1A EC 09 F0 1A ED 09 F0 1A EC 09 F0 00 ED 00 F0
; OUT:   034E: 1A EF 09 F0 34 EF 12 F0 00 EF 00 F0
; OUT: RELOC len=88
; OUT:   offset=0x1C type=0x31 complex bytes=1 expr=((0x1E + code) >> 0x1) & 0xFF
; OUT:   offset=0x1E type=0xFC complex bits=12 expr=(0x1E + code) >> 0x9
; OUT:   offset=0x28 type=0x31 complex bytes=1 expr=(code >> 0x1) & 0xFF
; OUT:   offset=0x2A type=0xFC complex bits=12 expr=code >> 0x9
; OUT: END len=2
; RUN: -mcpu=ZEL18A44 -O %s
; RUN zel18dump: control.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=55 loc=0x0 psect="code"
; OUT:   0000: FF D7 03 D0 FD DF 00 D8 00 F0 FF E2 F9 E3 07 E0
; OUT:   0010: 06 E1 05 E4 04 E5 03 E5 02 E6 01 E6 00 E7 12 00
; OUT:   0020: 12 00 13 00 13 00 10 00 11 00 11 00 7F E0
; OUT: TEXT len=13 loc=0x12C psect="code"
; OUT:   012C: 01 E0 80 D0
; OUT: TEXT len=51 loc=0x32E psect="code"
; OUT:   032E: 80 E2 01 E6 7E D7 02 E5 1A EF 09 F0 62 DE 70 DE
; OUT:   033E: 1A EC 09 F0 1A ED 09 F0 1A EC 09 F0 00 ED 00 F0
; OUT:   034E: 1A EF 09 F0 34 EF 12 F0 54 D6
; OUT: RELOC len=50
; OUT:   offset=0x1C type=0x31 complex bytes=1 expr=((0x1E + code) >> 0x1) & 0xFF
; OUT:   offset=0x1E type=0xFC complex bits=12 expr=(0x1E + code) >> 0x9
; OUT: END len=2
        psect   code,class=CODE,reloc=2
; Relative branches and calls: n = (target - (location + 2)) / 2 in the low 11 bits.
L0:     bra     L0              ; 0000: n = (0 - 2) / 2 = -1: D000 + 7FF = D7FF
        bra     L1              ; 0002: n = (A - 4) / 2 = 3: D000 + 3 = D003
        rcall   L0              ; 0004: n = (0 - 6) / 2 = -3: D800 + 7FD = DFFD
        rcall   $+2             ; 0006: n = (8 - 8) / 2 = 0: D800 = D800
        nop                     ; 0008: = F000
; Every condition, n in the low 8 bits.
L1:     bc      L1              ; 000A: n = (A - C) / 2 = -1: E200 + FF = E2FF
        bnc     L0              ; 000C: n = (0 - E) / 2 = -7: E300 + F9 = E3F9
        bz      L2              ; 000E: n = (1E - 10) / 2 = 7: E000 + 7 = E007
        bnz     L2              ; 0010: n = 6: E100 + 6 = E106
        bov     L2              ; 0012: n = 5: E400 + 5 = E405
        bnov    L2              ; 0014: n = 4: E500 + 4 = E504
        bnv     L2              ; 0016: n = 3: E500 + 3 = E503
        bn      L2              ; 0018: n = 2: E600 + 2 = E602
        bmi     L2              ; 001A: n = 1: E600 + 1 = E601
        bnn     L2              ; 001C: n = 0: E700 = E700
; Returns and the fast flag.
L2:     return                  ; 001E: = 0012
        return  0               ; = 0012
        return  1               ; 0012 + 1 = 0013
        return  f               ; 0012 + 1 = 0013
        retfie                  ; = 0010
        retfie  1               ; 0010 + 1 = 0011
        retfie  f               ; 0010 + 1 = 0011
; Conditional branch sizes at the limits of the short form. A forward target whose distance
; fits the short form once the branch itself is short keeps the short form.
        bz      B1              ; 002C: d = 12C - 2E = 254, short: n = 127: E000 + 7F = E07F
        ds      254
B1:     bnz     B2              ; 012C: d = 256 even if short, so BZ +1 over a BRA, n = (230 - 130) / 2 = 80: E001 D080
        ds      256
B2:     ds      254             ; at 0230, the target of both
        bc      B2              ; 032E: d = 230 - 330 = -256, short: n = -128: E200 + 80 = E280
        bnn     B2              ; 0330: d = -258, BN +1 over a BRA with n = (230 - 334) / 2 = -130: E601 D77E
        bov     0x1234          ; 0334: not in the psect, BNOV over a GOTO: E500 + 2, EF00 + (1234 >> 1) & FF, F000 + (1234 >> 9) = E502 EF1A F009
; Calls: near ones become RCALL, the fast flag keeps the long form.
        call    L0              ; 033A: n = (0 - 33C) / 2 = -414 = 662: D800 + 662 = DE62
        fcall   L2              ; 033C: n = (1E - 33E) / 2 = -400 = 670: D800 + 670 = DE70
        call    0x1234          ; 033E: EC00 + 1A, F000 + 9 = EC1A F009
        call    0x1234,f        ; 0342: EC00 + 100 + 1A, F000 + 9 = ED1A F009
        call    0x1234,0        ; 0346: EC00 + 1A, F000 + 9 = EC1A F009
        call    L2,1            ; 034A: the address by relocation = ED00 F000
; Jumps: long, unless -O finds the target near in the same psect.
        goto    0x1234          ; 034E: EF00 + 1A, F000 + 9 = EF1A F009
        ljmp    0x2468          ; 0352: EF00 + (2468 >> 1) & FF, F000 + (2468 >> 9) = EF34 F012
        goto    L0              ; 0356: EF00 F000 by relocation; with -O d = -856, a BRA with n = -428: D654
