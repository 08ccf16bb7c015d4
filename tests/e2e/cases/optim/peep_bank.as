	psect	text,class=CODE
	global	b1,b2,b3,b4
b1:
	movlb	2
	movwf	0x30,b
	movlb	2
	movwf	0x31,b
	movlb	3
	movlb	4
	movwf	0x32,b
	return
b2:
	movlb	2
	movwf	0x30,b
l2:
	movlb	2
	movwf	0x31,b
	bra	l2
b3:
	call	sub
	return
b4:
	call	far3
	return
	psect	text2,class=CODE
	global	sub
sub:
	clrf	0x40,c
	return
	psect	text3,class=CODE,minocg,group=1
	global	far3
far3:
	clrf	0x41,c
	return
	psect	text4,class=CODE,minocg,group=1
	global	b5,b6
b5:
	call	far3
	return
b6:
	call	far5
	return
	psect	text5,class=CODE,minocg,group=2
	global	far5
far5:
	clrf	0x42,c
	return
	end

; Bank selections: a movlb of the selected bank goes, and one whose bank nothing uses; a label
; between two keeps both. A call followed by a return becomes a jump when the callee's psect
; agrees on minocg and, with minocg, on the group.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | b1:
; | 	callstack 0
; | 	movlb	2
; | 	movwf	48,b
; | 	movwf	49,b
; | 	movlb	4
; | 	movwf	50,b
; | 	return
; | b2:
; | 	callstack 0
; | 	movlb	2
; | 	movwf	48,b
; | l2:
; | 	movlb	2
; | 	movwf	49,b
; | 	bra	l2
; | b3:
; | 	callstack 0
; | 	goto	sub
; | b4:
; | 	callstack 0
; | 	call	far3
; | 	return
; OUTPSECT: out.opt text4
; | b5:
; | 	callstack 0
; | 	goto	far3
; | b6:
; | 	callstack 0
; | 	call	far5
; | 	return
