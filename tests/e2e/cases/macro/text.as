; Body text: ";;" comments are dropped, ";" comments kept as written; parameters are replaced
; inside single quotes but not inside double quotes; "&" joins, "&&" stands for one "&".
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTPSECT: out.opt code
; | 	db	7
; | 	db	8	; kept p
; | 	messg "p"
; | 	messg "7"
; | 	messg "p's"
; | 	messg "k7"
; | 	messg "a&p&&"
; | 	db	6,7
; | 	dw	1,2
        psect   code,class=CODE
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
        dw      v7,k7k
