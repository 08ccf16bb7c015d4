	psect	text,class=CODE
	clrf	1,c
n1	set	1
	clrf	2,c
n2	set	2
	clrf	3,c
	psect	code,class=CODE
	clrf	4,c
n3	set	3
	clrf	5,c
n4	set	4
	end

; Each run over a psect moves its SET statements, except one directly after the first
; statement, to directly after the first statement. A psect with nothing else to change is run
; three times (the first run, one label clean-up round, the final run), so n1 and n2 swap
; places three times. The psect "code" is not optimized at all.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | 	clrf	1,c
; | n2	set	2
; | n1	set	1
; | 	clrf	2,c
; | 	clrf	3,c
; OUTPSECT: out.opt code
; | 	clrf	4,c
; | n3	set	3
; | 	clrf	5,c
; | n4	set	4
; With the extended instruction set nothing moves.
; RUN: -mcpu=ZEL18A44 -O --xinst -A -Oxinst.opt %s
; OUTPSECT: xinst.opt text
; | 	clrf	1,c
; | n1	set	1
; | 	clrf	2,c
; | n2	set	2
; | 	clrf	3,c
; -V given twice also traces the runs that are not the final one; the trace is a debugging aid
; and only has to run.
; RUN: -mcpu=ZEL18A44 -O -V -V -A -Otraced.opt %s
