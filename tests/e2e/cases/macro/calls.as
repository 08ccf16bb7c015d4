; A macro is called after a label, and by its name in an operand, where its body stands in for
; the name; a macro without a body expands to nothing.
; RUN: -mcpu=ZEL18A44 -A -Ocalls.opt --kvdebug=stmts %s
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NAME sub=0 dest=- acc=- flags=1 label=lbl
; OUT:   MOVLW sub=e00 dest=- acc=- flags=81 o1=1:7
; OUT:   MOVLW sub=e00 dest=- acc=- flags=81 o1=1:5
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT: order: ""
five    macro
        5
        endm
load    macro
        movlw   7
        endm
none    macro
        endm
lbl:    load
        movlw   five
        none
        nop
