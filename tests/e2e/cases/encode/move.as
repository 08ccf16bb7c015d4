; Data moves on an extended-address device in extended-instruction-set mode: MOVFF short and
; long as the addresses decide, its ignored access words, MOVFFL at the ends of both addresses,
; and the stack-relative MOVSF, MOVSFL and MOVSS.
; RUN: -mcpu=ZEL18X47 --xinst %s
; RUN zel18dump: move.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18X47" tail=3,11
; OUT: PSECT len=9 flags=0x10(global) name="lowram"
; OUT: XPSECT len=24 size=0x0 reloc=0x0 space=0 delta=1 psect="lowram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x0 type=16(global) base="" name="isa$std"
; OUT:   value=0x1 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=81 loc=0x0 psect="code"
; OUT:   0000: 23 C1 56 F4 FF CF 00 F0 23 C1 56 F4 23 C1 56 F4
; OUT:   0010: 02 C0 05 F0 6F 00 00 FE 10 F0 60 00 43 F0 E8 FF
; OUT:   0020: 60 00 8C F4 56 F4 6F 00 FF FF FF FF 01 EB E8 FF
; OUT:   0030: 7F EB 23 F1 02 00 0B F0 E8 FF 02 00 FD F1 34 F2
; OUT:   0040: 81 EB 02 F0 FF EB 60 F0
; OUT: RELOC len=20
; OUT:   offset=0x10 type=0xDC psect bits=12 target="lowram"
; OUT:   offset=0x12 type=0xDC psect bits=12 target="lowram"
; OUT: END len=2
        psect   code,class=CODE,reloc=2
; MOVFF: the short form C000 + s, F000 + d when both addresses are constants below 0x1000 or lie
; in lowdata psects; otherwise the long form of MOVFFL.
        movff   0x123,0x456     ; C000 + 123, F000 + 456 = C123 F456
        movff   0xFFF,0         ; C000 + FFF, F000 + 0 = CFFF F000
        movff   0x123,0x456,c   ; the suffix changes nothing: C123 F456
        movff   0x123,c,0x456   ; nor the middle word: C123 F456
        movff   la,lb           ; short, both in lowdata: C000 + 2, F000 + 5 = C002 F005
        movff   0x3F80,0x10     ; 0060 + F, F000 + (380 << 2 | 0), F000 + 10 = 006F FE00 F010
        movff   0x10,0x3FE8     ; 0060 + 0, F000 + (10 << 2 | 3), F000 + FE8 = 0060 F043 FFE8
; MOVFFL: 0060 + s >> 10; F000 + ((s & 3FF) << 2 | (d >> 12) & 3); F000 + (d & FFF).
        movffl  0x123,0x456     ; 0060 + 0, F000 + (123 << 2 | 0), F000 + 456 = 0060 F48C F456
        movffl  0x3FFF,0x3FFF   ; 0060 + F, F000 + (3FF << 2 | 3), F000 + FFF = 006F FFFF FFFF
; MOVSF: EB00 + s, F000 + d; MOVSFL: 0002, F000 + (s << 2 | (d >> 12) & 3), F000 + (d & FFF);
; MOVSS: EB80 + s, F000 + d.
        movsf   [1],0x3FE8      ; EB00 + 1, F000 + FE8 = EB01 FFE8
        movsf   [0x7F],0x123    ; EB00 + 7F, F000 + 123 = EB7F F123
        movsfl  [2],0x3FE8      ; 0002, F000 + (2 << 2 | 3), F000 + FE8 = 0002 F00B FFE8
        movsfl  [0x7F],0x1234   ; 0002, F000 + (7F << 2 | 1), F000 + 234 = 0002 F1FD F234
        movss   [1],[2]         ; EB80 + 1, F000 + 2 = EB81 F002
        movss   [0x7F],[0x60]   ; EB80 + 7F, F000 + 60 = EBFF F060

        psect   lowram,class=RAM,lowdata
        ds      2
la:     ds      3
lb:     ds      1
