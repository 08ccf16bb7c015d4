; LOCAL names: each expansion takes fresh names "??%04d" from one counter of the run, inner
; expansions after the names of the outer one; REPT and IRP repetitions take their own.
; RUN: -mcpu=ZEL18A44 --kvdebug=stmts %s
; EXIT: 1
inner   macro
        local   i
i:
        endm
outer   macro
        local   a,b
a:
        inner
b:
        inner
        endm
        outer
        outer
        rept    2
        local   r
r:      nop
        endm
        irp     v,1,2
        local   s
s       equ     v
        endm
twice   macro   p
        local   x, y,x
x       equ     p
y       equ     p
        endm
        twice   1
        twice   2
; An empty body is expanded all the same: its names are used up.
        rept    9999
        local   u
        endm
        twice   3
bad     macro   a
        local   a               ; ERROR 798
        local   1x, l           ; ERROR 797
l       equ     a
        endm
        bad     4
        local   z               ; ERROR 1298
; After PSECT on the same line, "local" is a psect flag.
ps      macro
        psect   mine,local,class=CODE
        nop
        endm
        ps
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0000
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0002
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0001
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0003
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0004
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0006
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0005
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0007
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0008
; OUT:   NOP sub=f000 dest=- acc=- flags=81
; OUT:   NAME sub=0 dest=- acc=- flags=81 label=??0009
; OUT:   NOP sub=f000 dest=- acc=- flags=81
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0010 o2=1:1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0011 o2=1:2
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0012 o2=1:1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0013 o2=1:1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0014 o2=1:2
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??0015 o2=1:2
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??10015 o2=1:3
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??10016 o2=1:3
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:??10017 o2=1:4
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT: psect "mine"
; OUT:   NOP sub=f000 dest=- acc=- flags=81
; OUT: order: "mine" ""
