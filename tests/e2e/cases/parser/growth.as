; Values that grow with every line. A use of an EQU or SET symbol shares its value, so a value
; that doubles per line costs one record per line; one of more than 1000 operators draws 2122
; and is 0 from there on, as is a SET chain one operator deeper per repetition. Symbols that
; name the next one twice expand only when the operand is encoded, and stop at the size of an
; object record with 839.
; RUN: -mcpu=ZEL18A44 %s
; EXIT: 1
        psect   code,class=CODE,reloc=2
        extrn   ext
p0      equ     ext
p1      equ     p0*p0
p2      equ     p1*p1
p3      equ     p2*p2
p4      equ     p3*p3
p5      equ     p4*p4
p6      equ     p5*p5
p7      equ     p6*p6
p8      equ     p7*p7
p9      equ     p8*p8
p10     equ     p9*p9     ; ERROR 2122
p11     equ     p10*p10
p12     equ     p11*p11
        movlw   low p12
q0      equ     q1*q1
q1      equ     q2*q2
q2      equ     q3*q3
q3      equ     q4*q4
q4      equ     q5*q5
q5      equ     q6*q6
q6      equ     q7*q7
q7      equ     q8*q8
q8      equ     q9*q9
q9      equ     q10*q10
q10     equ     q11*q11
q11     equ     q12*q12
q12     equ     q13*q13
q13     equ     q14*q14
q14     equ     q15*q15
q15     equ     q16*q16
q16     equ     q17*q17
q17     equ     q18*q18
q18     equ     q19*q19
q19     equ     q20*q20
q20     equ     q21*q21
q21     equ     q22*q22
q22     equ     q23*q23
q23     equ     q24*q24
q24     equ     q25*q25
q25     equ     q26*q26
q26     equ     q27*q27
q27     equ     q28*q28
q28     equ     q29*q29
q29     equ     q30*q30
q30     equ     ext
        movlw   low q0          ; ERROR 839
d       set     ext
        rept    1001
d       set     2*d
        endm                    ; ERROR 2122
        movlw   low d
