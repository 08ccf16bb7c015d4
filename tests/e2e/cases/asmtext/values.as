	psect	code,class=CODE
2:
	dw	p+q+r
	dw	p-(q-r)
	dw	(p+q)*(r+s)
	dw	p*(q+1)
	dw	p-q-r-s
	dw	p/(q/(r/s))
	dw	p mod q
	dw	p-(q mod r)
	dw	p shl 2 shr 1
	dw	p and q|r^1
	dw	p & (q|r)
	dw	highword(p)
	dw	low(p+q)
	dw	high p
	dw	high(p)+1
	dw	q-(high(p)+1)
	dw	q*low(p)
	dw	-(p-q)
	dw	~p
	dw	not (p*q)
	dw	low(high(p+1))
	dw	seg p
	dw	seg(p)+2
	dw	q-seg(p)
	dw	-5
	dw	p+5
	dw	p-5
	dw	5+p
	dw	5-p
	dw	p*-3
	dw	-3*p
	dw	p-9223372036854775808
	dw	-9223372036854775807-1
	dw	$+4
	dw	1f
	dw	2b
	dw	c:p
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
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	code,global,class=CODE
; | 	psect	vars,global,class=RAM,space=1
; |
; | 	psect	code
; | 2:
; | 	dw	p+q+r
; | 	dw	p-(q-r)
; | 	dw	p+q*(r+s)
; | 	dw	p*(q+1)
; | 	dw	p-q-r-s
; | 	dw	p/(q/(r/s))
; | 	dw	p mod q
; | 	dw	p-(q mod r)
; | 	dw	p<<2>>1
; | 	dw	p&q|r^1
; | 	dw	p&(q|r)
; | 	dw	p>>16
; | 	dw	low(p+q)
; | 	dw	high(p)
; | 	dw	high(p)+1
; | 	dw	q-(high(p)+1)
; | 	dw	q*low(p)
; | 	dw	-(p-q)
; | 	dw	~(p)
; | 	dw	~(p*q)
; | 	dw	low(high(p+1))
; | 	dw	seg(p)
; | 	dw	seg(p)+2
; | 	dw	q-seg(p)
; | 	dw	-5
; | 	dw	p+5
; | 	dw	p-5
; | 	dw	p+5
; | 	dw	5-p
; | 	dw	p*(-3)
; | 	dw	-3*p
; | 	dw	p-9223372036854775808
; | 	dw	-9223372036854775808
; | 	dw	$+4
; | 	dw	1f
; | 	dw	2b
; | 	dw	c:p
; | 	dw	c:p+1
; | 	dw	q-(c:p+1)
; | 	dw	c:(p-q)
; | 	dw	c:p-q
; | 	dw	defined "nothere"
; | 1:
; |
; | 	psect	vars
; | p:
; | 	ds	1
; | q:
; | 	ds	1
; | r:
; | 	ds	1
; | s:
; | 	ds	1
; | tosu	equ	0xFFF
; | tosh	equ	0xFFE
; | tosl	equ	0xFFD
; | stkptr	equ	0xFFC
; | pclatu	equ	0xFFB
; | pclath	equ	0xFFA
; | pcl	equ	0xFF9
; | tblptru	equ	0xFF8
; | tblptrh	equ	0xFF7
; | tblptrl	equ	0xFF6
; | tablat	equ	0xFF5
; | prodh	equ	0xFF4
; | prodl	equ	0xFE8
; | indf0	equ	0xFEF
; | postinc0	equ	0xFEE
; | postdec0	equ	0xFED
; | preinc0	equ	0xFEC
; | plusw0	equ	0xFEB
; | fsr0h	equ	0xFEA
; | fsr0l	equ	0xFE9
; | wreg	equ	0xFF3
; | indf1	equ	0xFE7
; | postinc1	equ	0xFE6
; | postdec1	equ	0xFE5
; | preinc1	equ	0xFE4
; | plusw1	equ	0xFE3
; | fsr1h	equ	0xFE2
; | fsr1l	equ	0xFE1
; | bsr	equ	0xFE0
; | indf2	equ	0xFDF
; | postinc2	equ	0xFDE
; | postdec2	equ	0xFDD
; | preinc2	equ	0xFDC
; | plusw2	equ	0xFDB
; | fsr2h	equ	0xFDA
; | fsr2l	equ	0xFD9
; | status	equ	0xFD8
; Operators: one precedence, left to right, so a right operand that is an operation is
; enclosed, a left one never; shifts, bitwise operators and MOD by their symbols.
; Unary operators enclose their operand.
; Constants and offsets: an offset follows its base, a negative right operand is enclosed, and
; the smallest 64-bit number is written out; "$", temporary labels, the access mark and DEFINED.
