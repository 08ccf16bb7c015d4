	psect	text,class=CODE
	global	main
main:
	movlw	low(asvalue)
	dw	intable
	call	other
	goto	used
used:
asvalue:
	nop
intable:
	return
	psect	text2,class=CODE
	call	fromtext
other:
	return
	psect	text3,class=CODE
fromtext:
	return
	end

; A label goes once no jump refers to it: "used" after its jump to the next statement went (a
; label that was never used is not written at all). These stay: a global label, one used as a
; value (movlw low(asvalue)), one in a data table (dw intable), one called from another psect
; (fromtext).
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | main:
; | 	callstack 0
; | 	movlw	low(asvalue)
; | 	dw	intable
; | 	call	other
; | asvalue:
; | 	nop
; | intable:
; | 	return
; OUTPSECT: out.opt text3
; | fromtext:
; | 	return
