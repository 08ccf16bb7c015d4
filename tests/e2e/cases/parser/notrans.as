; Without automatic adjustments the RAM access choice is reported, and nop is stored as 0.
; RUN: -mcpu=ZEL18A44 -no_trans --kvdebug=stmts %s
; ERR: notrans.as: 5: (1522) RAM access bit operand not specified, assuming access-bank (warning)
; ERR: notrans.as: 6: (1522) RAM access bit operand not specified, assuming banked memory (warning)
        movwf   0x20
        movwf   lab
        nop
lab:
; OUT: psect ""
; OUT:   MOVWF sub=6e00 dest=- acc=ACCESS flags=1 o1=2:32
; OUT:   MOVWF sub=6e00 dest=- acc=BANKED flags=1 o1=2:lab
; OUT:   NOP sub=0 dest=- acc=- flags=1
; OUT:   NAME sub=0 dest=- acc=- flags=1 label=lab
; OUT: order: ""
