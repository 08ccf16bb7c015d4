; A condition inside a macro body is a statement, decided after parsing: it cannot stop a
; recursive macro, whose 30th nested expansion is refused; the 29 made are kept. After the
; outermost expansion has ended, macros expand again.
; RUN: -mcpu=ZEL18A44 --kvdebug=stmts %s
; EXIT: 1
; ERR: recursion.as: 15: (2111) macro expansions nested more than 29 deep: "r" is not expanded, and no expansion starts until the outermost one has ended
; ERR: recursion.as: 21: (2111) macro expansions nested more than 29 deep: "two" is not expanded, and no expansion starts until the outermost one has ended
r       macro   n
        if      n
        db      n
        endif
        r       n-1
        endm
        nop
        r       2
        nop
two     macro
        two
        two
        endm
        two
one     macro
        db      9
        endm
        one
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:2
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=2
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=1
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:0
; OUT:   DATA sub=1 dest=- acc=- flags=91 data=0 hidden
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-1
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-2
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-2
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-3
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-3
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-4
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-4
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-5
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-5
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-6
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-6
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-7
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-7
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-8
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-8
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-9
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-9
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-10
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-10
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-11
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-11
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-12
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-12
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-13
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-13
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-14
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-14
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-15
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-15
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-16
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-16
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-17
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-17
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-18
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-18
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-19
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-19
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-20
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-20
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-21
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-21
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-22
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-22
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-23
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-23
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-24
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-24
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-25
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-25
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   IF sub=0 dest=- acc=- flags=81 o1=1:-26
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=-26
; OUT:   ENDIF sub=0 dest=- acc=- flags=81
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=9
; OUT: order: ""
