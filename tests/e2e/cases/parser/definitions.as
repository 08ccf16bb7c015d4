; Definition rules of symbols, one symbol per rule: a label, EQU and SET, a macro name, and the
; GLOBAL, PUBLIC and EXTRN declarations, each after the others where that is an error.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
        psect   text,class=CODE
lab:                            ; a label
twice:
twice:                          ; ERROR 845
eqlab   equ     1
eqlab:                          ; ERROR 845
        extrn   extlab
extlab:                         ; ERROR 848
same    equ     4
same    equ     4               ; the same value again
other   equ     4
other   equ     5               ; ERROR 845
labeq:
labeq   equ     5               ; ERROR 845
var     set     1
var     set     2
var     set     1
mac     macro
        endm
mac     macro                   ; ERROR 858
        endm
labmac:
labmac  macro                   ; ERROR 858
        endm
        global  glob
        extrn   xpub
        public  xpub            ; ERROR 863
labx:
        extrn   labx            ; ERROR 862
eqx     equ     2
        extrn   eqx             ; ERROR 862
        extrn   xglob
        global  xglob           ; an external may be declared GLOBAL as well
        global  glab
glab:                           ; a GLOBAL label
