	psect	code,class=CODE
2:
	dw	p+q+r
	dw	p-(q-r)
	dw	(p+q)*(r+s)
	dw	p/(q/(r/s))
	dw	p-(q mod r)
	dw	p shl 2 shr 1
	dw	p and q|r^1
	dw	p & (q|r)
	dw	highword(p)
	dw	low(p+q)
	dw	high p
	dw	q-(high(p)+1)
	dw	-(p-q)
	dw	~p
	dw	not (p*q)
	dw	low(high(p+1))
	dw	seg p
	dw	q-seg(p)
	dw	p-5
	dw	5+p
	dw	5-p
	dw	p*-3
	dw	p-9223372036854775808
	dw	-9223372036854775807-1
	dw	$+4
	dw	1f
	dw	2b
	dw	c:p+1
	dw	q-(c:p+1)
	dw	c:(p-q)
	dw	c:p-q
	dw	defined "nothere"
1:
	psect	vars,class=RAM,space=1
p:	ds	1
q:	ds	1
r:	ds	1
s:	ds	1

; Values in assembly text, each written so that the grammar reads back the same tree (the
; round trip checks that the text gives the same object): one precedence left to right, so a
; right operand that is an operation is enclosed and a left one never; shifts, bitwise
; operators and MOD by their symbols; unary operators enclosing their operand; an offset after
; its base, a negative right operand enclosed, the smallest 64-bit number written out; "$",
; temporary labels, the access mark and DEFINED. The labels are defined after their uses, so
; the values stay trees.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTPSECT: out.opt code
; | 2:
; | 	dw	p+q+r
; | 	dw	p-(q-r)
; | 	dw	p+q*(r+s)
; | 	dw	p/(q/(r/s))
; | 	dw	p-(q mod r)
; | 	dw	p<<2>>1
; | 	dw	p&q|r^1
; | 	dw	p&(q|r)
; | 	dw	p>>16
; | 	dw	low(p+q)
; | 	dw	high(p)
; | 	dw	q-(high(p)+1)
; | 	dw	-(p-q)
; | 	dw	~(p)
; | 	dw	~(p*q)
; | 	dw	low(high(p+1))
; | 	dw	seg(p)
; | 	dw	q-seg(p)
; | 	dw	p-5
; | 	dw	p+5
; | 	dw	5-p
; | 	dw	p*(-3)
; | 	dw	p-9223372036854775808
; | 	dw	-9223372036854775808
; | 	dw	$+4
; | 	dw	1f
; | 	dw	2b
; | 	dw	c:p+1
; | 	dw	q-(c:p+1)
; | 	dw	c:(p-q)
; | 	dw	c:p-q
; | 	dw	defined "nothere"
; | 1:
