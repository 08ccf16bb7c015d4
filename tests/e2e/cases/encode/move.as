; Data moves on an extended-address device in extended-instruction-set mode: MOVFF short and
; long as the addresses decide, its ignored access words, MOVFFL at the ends of both addresses,
; and the stack-relative MOVSF, MOVSFL and MOVSS.
; RUN: -mcpu=ZEL18X47 --xinst -V %s
; WORDS: move.obj
        psect   code,class=CODE,reloc=2
; MOVFF: the short form C000 + s, F000 + d when both addresses are constants below 0x1000 or lie
; in lowdata psects; otherwise the long form of MOVFFL.
        movff   0x123,0x456     ; C000 + 123, F000 + 456 ;= C123 F456
        movff   0xFFF,0         ; C000 + FFF, F000 + 0 ;= CFFF F000
        movff   0x123,0x456,c   ; the suffix changes nothing ;= C123 F456
        movff   0x123,c,0x456   ; nor the middle word ;= C123 F456
        movff   la,lb           ; short, both in lowdata: C000 + 2, F000 + 5 ;= C002 F005
                                ;= [+0 psect bits=12 target="lowram"] [+2 psect bits=12 target="lowram"]
        movff   0x3F80,0x10     ; 0060 + F, F000 + (380 << 2 | 0), F000 + 10 ;= 006F FE00 F010
        movff   0x10,0x3FE8     ; 0060 + 0, F000 + (10 << 2 | 3), F000 + FE8 ;= 0060 F043 FFE8
; MOVFFL: 0060 + s >> 10; F000 + ((s & 3FF) << 2 | (d >> 12) & 3); F000 + (d & FFF).
        movffl  0x123,0x456     ; 0060 + 0, F000 + (123 << 2 | 0), F000 + 456 ;= 0060 F48C F456
        movffl  0x3FFF,0x3FFF   ; 0060 + F, F000 + (3FF << 2 | 3), F000 + FFF ;= 006F FFFF FFFF
; MOVSF: EB00 + s, F000 + d; MOVSFL: 0002, F000 + (s << 2 | (d >> 12) & 3), F000 + (d & FFF);
; MOVSS: EB80 + s, F000 + d.
        movsf   [1],0x3FE8      ; EB00 + 1, F000 + FE8 ;= EB01 FFE8
        movsf   [0x7F],0x123    ; EB00 + 7F, F000 + 123 ;= EB7F F123
        movsfl  [2],0x3FE8      ; 0002, F000 + (2 << 2 | 3), F000 + FE8 ;= 0002 F00B FFE8
        movsfl  [0x7F],0x1234   ; 0002, F000 + (7F << 2 | 1), F000 + 234 ;= 0002 F1FD F234
        movss   [1],[2]         ; EB80 + 1, F000 + 2 ;= EB81 F002
        movss   [0x7F],[0x60]   ; EB80 + 7F, F000 + 60 ;= EBFF F060

        psect   lowram,class=RAM,lowdata
        ds      2
la:     ds      3
lb:     ds      1
