	psect	text,class=CODE,optim=jump
	global	fn
fn:
	movlw	1
	return
	movlw	2
	addwf	0x10,f,c
	dw	0x1234
	movlw	3
l1:
	retlw	4
	movlw	5
	asmopt	off
	movlw	6
	asmopt	on
	movlw	7
	global	g
g:
	rlncf	0xFF3,w,c
	addwf	0xFF9,f,c
	retlw	10
	retlw	11
	retlw	12
	goto	l1
	nop
	end

; Code after a return goes up to the next label, ORG, data or directive: a dw table stops the
; deletion (the movlw after it stays), a statement under asmopt off is kept and passed over.
; A retlw table behind a write of PCL is reached by computing the address: it stays whole, and
; so does the goto that ends it.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | fn:
; | 	callstack 0
; | 	movlw	1
; | 	return
; | 	dw	4660
; | 	movlw	3
; | l1:
; | 	retlw	4
; | 	movlw	6
; | g:
; | 	callstack 0
; | 	rlncf	wreg,w,c
; | 	addwf	pcl,f,c
; | 	retlw	10
; | 	retlw	11
; | 	retlw	12
; | 	goto	l1
; | 	nop
