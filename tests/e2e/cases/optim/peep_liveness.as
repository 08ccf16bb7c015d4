	psect	text,class=CODE
	global	v1,v2,v3,v4,v5,v6,v7,v8
v1:
	movlw	1
	rept	38
	nop
	endm
	movlw	2
	movwf	0x20,c
	movlw	3
	rept	39
	nop
	endm
	movlw	4
	movwf	0x21,c
	retfie
v2:
	movlw	0
	iorwf	0x10,f,c
	return	;funcret
v3:
	movlw	0
	iorwf	0x10,f,c
	return
v4:
	movlw	0
	xorwf	0x10,f,c
	call	sub
	movf	0x11,f,c
	retfie
v5:
	movlw	0
	xorwf	0x10,f,c
	call	far
	movf	0x11,f,c
	retfie
v6:
	movlw	0
	iorwf	0x10,f,c
	goto	start
v7:
	movlw	3
	bc	t7
	movlw	4
	movwf	0x22,c
	retfie
t7:
	movwf	0x23,c
	retfie
v8:
	movlw	3
	bc	t8
	movlw	4
	movwf	0x22,c
	retfie
t8:
	movlw	5
	movwf	0x23,c
	retfie
	psect	text2,class=CODE
	global	sub
sub:
	movlw	9
	movwf	0x30,c
	return
	psect	text3,class=CODE,minocg
	global	far
far:
	movlw	9
	movwf	0x30,c
	return
	end

; Liveness: a scan reads at most 40 statements (the repetition's ENDM counts): 38 nops and the
; next movlw decide, 39 do not. A return marked ";funcret" does not read Z; a call into a psect
; of the same kind is followed and back, one into a minocg psect is not; a jump to start ends
; the scan; a branch is live on either path.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | v1:
; | 	callstack 0
; | %lines(38,	nop)
; | 	movlw	2
; | 	movwf	32,c
; | 	movlw	3
; | %lines(39,	nop)
; | 	movlw	4
; | 	movwf	33,c
; | 	retfie
; | v2:
; | 	callstack 0
; | 	retlw	0	;funcret
; | v3:
; | 	callstack 0
; | 	movlw	0
; | 	iorwf	16,f,c
; | 	retlw	0
; | v4:
; | 	callstack 0
; | 	call	sub
; | 	movf	17,f,c
; | 	retfie
; | v5:
; | 	callstack 0
; | 	movlw	0
; | 	xorwf	16,f,c
; | 	call	far
; | 	movf	17,f,c
; | 	retfie
; | v6:
; | 	callstack 0
; | 	goto	start
; | v7:
; | 	callstack 0
; | 	movlw	3
; | 	bc	t7
; | 	movlw	4
; | 	movwf	34,c
; | 	retfie
; | t7:
; | 	movwf	35,c
; | 	retfie
; | v8:
; | 	callstack 0
; | 	bc	t8
; | 	movlw	4
; | 	movwf	34,c
; | 	retfie
; | t8:
; | 	movlw	5
; | 	movwf	35,c
; | 	retfie
