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
; -V given twice traces the runs that are not the final one: each pass's number and the psect's
; statements (here with the source positions that -V gives them).
; RUN: -mcpu=ZEL18A44 -O -V -V -A -Otraced.opt %s
; OUT: ***** Pass 0
; OUT: 	file	"driver.as"
; OUT: 	line	2
; OUT: 	clrf	1,c
; OUT: 	line	5
; OUT: n2	set	2
; OUT: 	line	3
; OUT: n1	set	1
; OUT: 	line	4
; OUT: 	clrf	2,c
; OUT: 	line	6
; OUT: 	clrf	3,c
; OUT:
; OUT: ***** Pass 0
; OUT: 	file	"driver.as"
; OUT: 	line	2
; OUT: 	clrf	1,c
; OUT: 	line	3
; OUT: n1	set	1
; OUT: 	line	5
; OUT: n2	set	2
; OUT: 	line	4
; OUT: 	clrf	2,c
; OUT: 	line	6
; OUT: 	clrf	3,c
; OUT:
