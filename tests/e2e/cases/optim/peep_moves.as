	psect	text,class=CODE
	global	m1,m2,m3,m4,m5,m6
m1:
	movf	0x10,w,c
	movff	wreg,0x20
	movf	0x11,f,c
	movlw	1
	movf	0x12,w,c
	movff	wreg,0x21
	movwf	0x22,c
	retfie
m2:
	movf	0x10,w,c
	xorlw	0xFF
	movwf	0x20,c
	retfie
m3:
	movf	0x10,w,c
	movwf	0x20,c
	movf	0x11,w,c
	andwf	0x10,w,c
	movwf	0x21,c
	movf	0x12,w,c
	movwf	postinc0,c
	movf	0x13,w,c
	iorwf	0x12,w,c
	movwf	0x22,c
	movf	0x14,w,c
	clrf	0x14,c
	movf	0x15,w,c
	xorwf	0x14,w,c
	movwf	0x23,c
	retfie
m4:
	movff	0x10,0x10
	movff	postinc0,postinc0
	movff	wreg,wreg
	retfie
m5:
	movff	0x10,wreg
	movwf	0x20,c
	movlw	3
	movwf	0x21,c
	movff	0x11,wreg
	movwf	0x22,c
	retfie
m6:
	movlw	5
	btfsc	0x17,0,c
	movf	0x10,w,c
	xorlw	0xFF
	movwf	0x20,c
	retfie
	end

; Moves: movf then movff from W copies directly; movf then xorlw 0xFF is comf; movf f,w before
; a logic operation with the register W already held combines that register with f (not after
; a store through a pointer, nor after the register was written); movff of a register onto
; itself goes (not for SFRs or pointers); movff into W then movwf stores directly when W is not
; read afterwards. After a skip the pair stays.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | m1:
; | 	callstack 0
; | 	movff	16,32
; | 	movf	17,f,c
; | 	movf	18,w,c
; | 	movff	wreg,33
; | 	movwf	34,c
; | 	retfie
; | m2:
; | 	callstack 0
; | 	comf	16,w,c
; | 	movwf	32,c
; | 	retfie
; | m3:
; | 	callstack 0
; | 	movf	16,w,c
; | 	movwf	32,c
; | 	andwf	17,w,c
; | 	movwf	33,c
; | 	movf	18,w,c
; | 	movwf	postinc0,c
; | 	movf	19,w,c
; | 	iorwf	18,w,c
; | 	movwf	34,c
; | 	movf	20,w,c
; | 	clrf	20,c
; | 	movf	21,w,c
; | 	xorwf	20,w,c
; | 	movwf	35,c
; | 	retfie
; | m4:
; | 	callstack 0
; | 	movff	postinc0,postinc0
; | 	movff	wreg,wreg
; | 	retfie
; | m5:
; | 	callstack 0
; | 	movff	16,32
; | 	movlw	3
; | 	movwf	33,c
; | 	movff	17,wreg
; | 	movwf	34,c
; | 	retfie
; | m6:
; | 	callstack 0
; | 	movlw	5
; | 	btfsc	23,0,c
; | 	movf	16,w,c
; | 	xorlw	255
; | 	movwf	32,c
; | 	retfie
