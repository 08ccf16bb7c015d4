; REPT, IRP and IRPC: counts, items, nesting; a bad count draws 799 and repeats once. An
; expansion's code and messages belong to the ENDM line that starts it.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: repeat.as: 22: (799) REPT argument must be >= 0
; ERR: repeat.as: 28: (799) REPT argument must be >= 0
; ERR: repeat.as: 36: a
; ERR: repeat.as: 36: b
; ERR: repeat.as: 36: 1
; ERR: repeat.as: 39: (a)
; ERR: repeat.as: 39: ( )
; ERR: repeat.as: 39: (b)
; ERR: repeat.as: 39: (,)
; ERR: repeat.as: 45: 1
; ERR: repeat.as: 45: 2,3
; ERR: repeat.as: 51: a
; ERR: repeat.as: 51: b
; WORDS: repeat.obj
        rept    0
        db      1
        endm
        rept    -1
        db      2
        endm                    ;= 02
        rept    2
        db      3
        endm                    ;= 03 03
        rept    lab
        db      4
        endm                    ;= 04
        rept    1+1
        db      5
        endm                    ;= 05 05
        irpc    c,ab1
        messg   'c'
        endm
        irpc    c,<a b,>
        messg   '(c)'
        endm
        irpc    c
        db      9
        endm
        irp     x,1,<2,3>,,4
        messg   'x'
        endm
        irp     x
        db      8
        endm
        irp     y,a , b ;comment
        messg   'y'
        endm
        rept    1 ; note
        db      7
        endm                    ;= 07
        rept    2
        irpc    d,12
        db      d
        endm
        endm                    ;= 01 02 01 02
; Nothing expanded, no LOCAL name used up: the one label made is ??0000.
        rept    0
        local   q
        endm
        irp     x
        local   q
        endm
        rept    1
        local   q
q:
        endm
        dw      ??0000          ;= 000B
lab:
