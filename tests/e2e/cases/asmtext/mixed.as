	processor	ZEL18A44
	pagelength	60
	pagewidth	100
	global	_g
BASE	equ	0x20
VAR1	equ	BASE+1
FWD2	equ	LATER*2
mac	macro	arg
	movlw	arg
	addlw	arg+1
	endm
	psect	ram,class=COMRAM,space=1,common
cnt:	ds	2
here	equ	$
	psect	code,class=CODE,reloc=2
_g:
	mac	3
	rept	2
	nop
	endm
	movwf	VAR1,c
	movlw	FWD2
	movlw	low(cnt+1)
	movlw	high(cnt)-1
	movlw	(cnt-_g)*2
	movlw	seg(cnt)
	movlw	-(cnt)
	movlw	~cnt
	movlw	cnt-(_g+1)
	movlw	cnt mod 3
	movlw	c:cnt
	dw	$, $+2, _g-$
	bra	$+4
1:	bra	1b
	incf	cnt,f	;volatile
	movf	cnt,w	;# note
	if	defined "_g"
	nop
	endif
	asmopt	off
	nop
	asmopt	on
;!summary
LATER	equ	9
	end	_g

; A mix for the round trip (asm_roundtrip reads the text back): macros and REPT expanded, EQU
; chains and forward EQUs printed by value, "$" in a common psect, operators of every kind,
; c: and seg, temporary labels, marker comments, ASMOPT, a summary comment.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
