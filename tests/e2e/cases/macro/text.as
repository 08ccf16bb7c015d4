; Body text: ";;" comments are dropped, ";" comments kept as written; parameters are replaced
; inside single quotes but not inside double quotes; "&" joins, "&&" stands for one "&".
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts %s
txt     macro   p,q
        db      p       ;; gone p
        db      p+1     ; kept p
;; a whole line, gone
        messg   "p"
        messg   'p'
        messg   "p's"
        messg   'q&p'
        messg   "a&p&&"
v&p     equ     1
q&p&q   equ     2
        db      p&&6,p&&&p
        endm
        txt     7,k
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=7
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=8 eol="; kept p"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="p"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="7"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="p's"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="k7"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="a&p&&"
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:v7 o2=1:1
; OUT:   EQU sub=0 dest=- acc=- flags=81 o1=1:k7k o2=1:2
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=6,7
; OUT: order: ""
