; Without automatic adjustments the RAM access choice is reported, and nop is stored as 0.
; RUN: -mcpu=ZEL18A44 -no_trans -V %s
; ERR: notrans.as: 6: (1522) RAM access bit operand not specified, assuming access-bank (warning)
; ERR: notrans.as: 7: (1522) RAM access bit operand not specified, assuming banked memory (warning)
; WORDS: notrans.obj
        movwf   0x20            ;= 6E20
        movwf   lab             ;= 6F06
        nop                     ;= 0000
lab:
