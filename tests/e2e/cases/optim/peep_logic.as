	psect	text,class=CODE
	global	a1,a2,a3,a4,a5,a6,a7,a8
a1:
	movlw	0xFF
	andwf	0x10,w,c
	movwf	0x20,c
	movlw	0
	iorwf	0x11,w,c
	movwf	0x21,c
	movlw	0
	xorwf	0x12,w,c
	movwf	0x22,c
	movlw	0
	andwf	0x13,w,c
	movwf	0x23,c
	movf	0x16,f,c
	retfie
a2:
	movlw	0
	iorwf	0x10,f,c
	xorwf	0x11,f,c
	movlw	0xFF
	xorwf	0x12,f,c
	andwf	0x13,f,c
	movf	0x16,f,c
	xorwf	postinc0,f,c
	retfie
a3:
	movlw	1
	addwf	0x10,f,c
	subwf	0x11,f,c
	movlw	0xFF
	addwf	0x12,f,c
	subwf	0x13,f,c ;volatile
	addwf	0x14,w,c
	movwf	0x24,c
	movf	0x18,w,c
	addwf	0x15,f,c
	retfie
a4:
	movlw	0
	addwf	postinc0,f,c
	movlw	0
	addwf	0x10,f,c
	subwf	0x11,f,c
	incf	0x12,f,c
	retfie
a5:
	movlw	0
	btfsc	0x17,0,c
	iorwf	0x10,f,c
	andwf	0x11,f,c
	iorwf	0x12,f,c
	bz	a5
	retfie
a6:
	movlw	0
	addwf	0x10,f,c
	bov	a6
	movf	0x11,f,c
	retfie
a7:
	movlw	0
	xorwf	postinc0,f,c
	movlw	0xFF
	andwf	postinc1,f,c
	movf	0x16,f,c
	retfie
a8:
	movlw	0
	andwf	0x14,f,c
	andwf	0x15,f,c
	movf	0x16,f,c
	retfie
	end

; Logic and arithmetic with W known: and with 0xFF, ior and xor with 0 load f; into f, ior/xor
; with 0 and and with 0xFF go when Z and N are not read, xor with 0xFF is comf, and with 0 is
; clrf; add/subtract 1 and 0xFF are incf/decf (also under ";volatile"), add/subtract 0 leave
; only the carry when Z, N, DC and OV are not read. Nothing changes when the operand is reached
; through a pointer (andwf with 0xFF keeps the access as movf), after a skip, when a branch reads
; the flags, or when W's value is not known.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | a1:
; | 	callstack 0
; | 	movf	16,w,c
; | 	movwf	32,c
; | 	movf	17,w,c
; | 	movwf	33,c
; | 	movf	18,w,c
; | 	movwf	34,c
; | 	movlw	0
; | 	movwf	35,c
; | 	movf	22,f,c
; | 	retfie
; | a2:
; | 	callstack 0
; | 	movlw	255
; | 	comf	18,f,c
; | 	movf	22,f,c
; | 	xorwf	postinc0,f,c
; | 	retfie
; | a3:
; | 	callstack 0
; | 	incf	16,f,c
; | 	decf	17,f,c
; | 	movlw	255
; | 	decf	18,f,c
; | 	incf	19,f,c	;volatile
; | 	addwf	20,w,c
; | 	movwf	36,c
; | 	movf	24,w,c
; | 	addwf	21,f,c
; | 	retfie
; | a4:
; | 	callstack 0
; | 	movlw	0
; | 	addwf	postinc0,f,c
; | 	movlw	0
; | 	bcf	status,0,c
; | 	bsf	status,0,c
; | 	incf	18,f,c
; | 	retfie
; | a5:
; | 	callstack 0
; | 	movlw	0
; | 	btfsc	23,0,c
; | 	iorwf	16,f,c
; | 	clrf	17,c
; | 	iorwf	18,f,c
; | 	bz	a5
; | 	retfie
; | a6:
; | 	callstack 0
; | 	movlw	0
; | 	addwf	16,f,c
; | 	bov	a6
; | 	movf	17,f,c
; | 	retfie
; | a7:
; | 	callstack 0
; | 	movlw	0
; | 	xorwf	postinc0,f,c
; | 	movlw	255
; | 	movf	postinc1,f,c
; | 	movf	22,f,c
; | 	retfie
; | a8:
; | 	callstack 0
; | 	movlw	0
; | 	clrf	20,c
; | 	clrf	21,c
; | 	movf	22,f,c
; | 	retfie
