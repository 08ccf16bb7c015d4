; REPT, IRP and IRPC: counts, items, nesting; a bad count draws 799 and repeats once.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts %s
; EXIT: 1
        rept    0
        db      1
        endm
        rept    -1              ; ERROR 799
        db      2
        endm
        rept    2
        db      3
        endm
        rept    lab             ; ERROR 799
        db      4
        endm
        rept    1+1
        db      5
        endm
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
        endm
        rept    2
        irpc    d,12
        db      d
        endm
        endm
; Nothing expanded, no LOCAL name used up.
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
lab:
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1 eol="; ERROR 799"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=3
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=3
; OUT:   ENDM sub=0 dest=- acc=- flags=1 eol="; ERROR 799"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=4
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=5
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=5
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="a"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="b"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="1"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(a)"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="( )"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(b)"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(,)"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="1"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="2,3"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="a"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="b"
; OUT:   ENDM sub=0 dest=- acc=- flags=1 eol="; note"
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=7
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=81
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   ENDM sub=0 dest=- acc=- flags=81
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0000
; OUT:   NAME sub=0 dest=- acc=- flags=1 label=lab
; OUT: order: ""
