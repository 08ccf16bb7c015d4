; Instructions without operands: NOP, CLRW (a CLRF of WREG), RESET and TRAP; the opcodes are
; the instruction table's. NOP2 is one BRA to the next word unless errata bit 0x20000 asks for
; two NOP words (";=errata"); -no_trans assembles NOP as 0000 (";=notrans").
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: inherent.obj
; RUN: -mcpu=ZEL18A44 --errata=131072 -V %s
; WORDS errata: inherent.obj
; RUN: -mcpu=ZEL18A44 -no_trans -V %s
; WORDS notrans: inherent.obj
        psect   code,class=CODE,reloc=2
        nop                     ;= F000 ;=notrans 0000
        clrw                    ;= 6AF3
        reset                   ;= 00FF
        trap                    ;= 00E0
        nop2                    ; a BRA to the next word, or two NOPs ;= D000 ;=errata F000 F000
