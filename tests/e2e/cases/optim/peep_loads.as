	psect	text,class=CODE
	global	w1,w2,w3,w4
w1:
	movlw	0x20
	movwf	0x10,c
	movlw	0x20
	movwf	0x11,c
	movlw	1
	addwf	0x12,f,c
	movlw	5
	return
w2:
	movlw	3
	btfsc	0x10,0,c
	movlw	3
	movwf	0x13,c
	btfss	0x10,1,c
	movlw	5
	movlw	5
	movwf	0x14,c
	retfie
w3:
	movlw	1
	movf	postinc0,f,c
	movlw	2
	movwf	0x15,c
	movlw	1
	movf	0x16,f,c
	movlw	2
	movwf	0x17,c
	asmopt	off
	movlw	2
	asmopt	on
	movlw	2 ;volatile
	movwf	0x18,c
	retfie
w4:
	movlw	1
	addwf	0x19,w,c
	movwf	0x1A,c
	movlw	7
	return	1
	end

; W loads: a movlw of the value W holds goes, so does one whose value nothing reads (here after
; movlw 1 turned addwf into incf); a return with W known becomes retlw, and the movlw before it
; then goes. After a skip a movlw stays and W is not known; a read through a pointer may read W;
; asmopt off and ";volatile" keep a load; retfie and a fast return never become retlw (the fast
; return restores W, so the movlw before it goes).
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | w1:
; | 	callstack 0
; | 	movlw	32
; | 	movwf	16,c
; | 	movwf	17,c
; | 	incf	18,f,c
; | 	retlw	5
; | w2:
; | 	callstack 0
; | 	movlw	3
; | 	btfsc	16,0,c
; | 	movlw	3
; | 	movwf	19,c
; | 	btfss	16,1,c
; | 	movlw	5
; | 	movlw	5
; | 	movwf	20,c
; | 	retfie
; | w3:
; | 	callstack 0
; | 	movlw	1
; | 	movf	postinc0,f,c
; | 	movlw	2
; | 	movwf	21,c
; | 	movf	22,f,c
; | 	movwf	23,c
; | 	movlw	2
; | 	movlw	2	;volatile
; | 	movwf	24,c
; | 	retfie
; | w4:
; | 	callstack 0
; | 	incf	25,w,c
; | 	movwf	26,c
; | 	return	f
