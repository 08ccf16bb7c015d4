; A macro is called after a label, which stays before the expansion's code, and by its name in
; an operand, where its body stands in for the name; a macro without a body expands to nothing.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: calls.obj
five    macro
        5
        endm
load    macro
        movlw   7
        endm
none    macro
        endm
lbl:    load                    ;= 0E07
        movlw   five            ;= 0E05
        none
        nop                     ;= F000
        dw      lbl             ;= 0000
