; Macro arguments: "!" escapes, "<...>" brackets, empty and missing arguments, blanks and
; comments, and an inner call reading its arguments across the text substituted into its line.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts %s
; EXIT: 1
show    macro   a,b,c
        messg   '[a|b|c]'
        endm
        show    1,2,3
        show    1
        show    1,,3
        show    ,2
        show
        show    <4,5>,6
        show    !,7,!<8
        show    <1,<2>>,3
        show    !!,!;,x!
        show    1 , 2 ;3
        show     < sp > , x  y  ,z!  
        show    a!;b,<;>,c
        show    1,2,3,4,5
        show    <1,2    ; ERROR 793
inner   macro   p,q,r
        messg   '(p|q|r)'
        endm
outer   macro   a
        inner   a,3
        inner   <a>,4
        inner   x&a&y
        endm
        outer   <1,2>
; A missing argument leaves an operand out: that line is a syntax error, the next one stands.
pair    macro   x,y
        movlw   x
        movwf   y
        nop
        endm
        pair    1               ; ERROR 876
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1|2|3]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1||]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1||3]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[|2|]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[||]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[4,5|6|]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[,7|<8|]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1,<2>|3|]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[!|;|x]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1|2|]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[ sp |x  y|z ]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[a;b|;|c]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1|2|3]"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="[1,2    ; ERROR 793||]"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(1|2|3)"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(1,2|4|)"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="(x1|2y|)"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MOVLW sub=e00 dest=- acc=- flags=81 o1=1:1
; OUT:   NOP sub=f000 dest=- acc=- flags=81
; OUT: order: ""
