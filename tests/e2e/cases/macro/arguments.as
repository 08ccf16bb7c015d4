; Macro arguments: "!" escapes, "<...>" brackets, empty and missing arguments, blanks and
; comments, and an inner call reading its arguments across the text substituted into its line.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: arguments.as: 41: (793) unterminated macro argument
; ERR: arguments.as: 57: (876) syntax error
; ERR: arguments.as: 28: [1|2|3]
; ERR: arguments.as: 29: [1||]
; ERR: arguments.as: 30: [1||3]
; ERR: arguments.as: 31: [|2|]
; ERR: arguments.as: 32: [||]
; ERR: arguments.as: 33: [4,5|6|]
; ERR: arguments.as: 34: [,7|<8|]
; ERR: arguments.as: 35: [1,<2>|3|]
; ERR: arguments.as: 36: [!|;|x]
; ERR: arguments.as: 37: [1|2|]
; ERR: arguments.as: 38: [ sp |x  y|z ]
; ERR: arguments.as: 39: [a;b|;|c]
; ERR: arguments.as: 40: [1|2|3]
; ERR: arguments.as: 41: [1,2    ; ERROR 793||]
; ERR: arguments.as: 50: (1|2|3)
; ERR: arguments.as: 50: (1,2|4|)
; ERR: arguments.as: 50: (x1|2y|)
; WORDS: arguments.obj
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
        pair    1                 ;= 0E01 F000
