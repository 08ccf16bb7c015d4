; Bank selection: MOVLB and BANKSEL take six bits of bank number on an extended-address device
; and four on a standard one (";=std"), where a wider bank number is cut with a warning (level -4).
; RUN: -mcpu=ZEL18X47 -V %s
; WORDS: bank.obj
; RUN: -mcpu=ZEL18A44 -W-4 -V %s
; WORDS std: bank.obj
; ERR: bank.as: 12: (1352) truncation of operand value (0x3f) to 4 bits (warning)
; ERR: bank.as: 14: (1352) truncation of operand value (0x3f) to 4 bits (warning)
        psect   code,class=CODE,reloc=2
        movlb   0               ;= 0100
        movlb   5               ; 0100 + 5 ;= 0105
        movlb   0x3F            ; 0100 + 3F, cut to F on a ZEL18 ;= 013F ;=std 010F
        banksel 0x120           ; 0100 + (120 >> 8) ;= 0101
        banksel 0x3F80          ; 0100 + (3F80 >> 8) = 0100 + 3F, cut to F ;= 013F ;=std 010F
        banksel 0               ;= 0100
        banksel var             ; (ram + 3) >> 8 by complex relocation, six bits or four
                                ;= 0100 [+0 complex bits=6 expr=(0x3 + ram) >> 0x8]
                                ;=std 0100 [+0 complex bits=4 expr=(0x3 + ram) >> 0x8]

        psect   ram,class=RAM
        ds      3
var:    ds      1
