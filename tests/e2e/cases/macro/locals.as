; LOCAL names: each expansion takes fresh names "??%04d" from one counter of the run, inner
; expansions after the names of the outer one; REPT and IRP repetitions take their own. MESSG
; shows the names each expansion got.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
; ERR: locals.as: 61: (798) use of macro arguments in a LOCAL directive is illegal
; ERR: locals.as: 62: (797) syntax error in LOCAL argument
; ERR: locals.as: 67: (1298) use of LOCAL outside macros is illegal
; ERR: locals.as: 36: ??0000
; ERR: locals.as: 36: ??0002
; ERR: locals.as: 36: ??0001
; ERR: locals.as: 36: ??0003
; ERR: locals.as: 37: ??0004
; ERR: locals.as: 37: ??0006
; ERR: locals.as: 37: ??0005
; ERR: locals.as: 37: ??0007
; ERR: locals.as: 41: ??0008
; ERR: locals.as: 41: ??0009
; ERR: locals.as: 46: ??0010=1
; ERR: locals.as: 46: ??0011=2
; ERR: locals.as: 53: ??0012 ??0013 1
; ERR: locals.as: 54: ??0014 ??0015 2
; ERR: locals.as: 59: ??10015 ??10016 3
; ERR: locals.as: 66: ??10017=4
inner   macro
        local   i
i:      messg   'i'
        endm
outer   macro
        local   a,b
a:      messg   'a'
        inner
b:      messg   'b'
        inner
        endm
        outer
        outer
        rept    2
        local   r
r:      messg   'r'
        endm
        irp     v,1,2
        local   s
s       equ     v
        messg   's=v'
        endm
twice   macro   p
        local   x, y,x
x       equ     p
y       equ     p
        messg   'x y p'
        endm
        twice   1
        twice   2
; An empty body is expanded all the same: its names are used up.
        rept    9999
        local   u
        endm
        twice   3
bad     macro   a
        local   a
        local   1x, l
l       equ     a
        messg   'l=a'
        endm
        bad     4
        local   z
; After PSECT on the same line, "local" is a psect flag.
ps      macro
        psect   mine,local,class=CODE
        nop
        endm
        ps
