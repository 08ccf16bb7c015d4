	psect	text,class=CODE
	global	main
main:
	cpfseq	0x10,c
	goto	far
	btfss	0x10,1,c
	goto	far
	call	sub
	return
far:
	movlw	1
sub:
	retlw	2
	end

; The errata NOP pass (errata bit 14; bit 0 alike), without -O: a NOP after the global label
; that no jump refers to, after each return and at each jump target (once); a skip before a
; goto jumps around it instead of skipping it: cpfseq, which has no opposite, skips into a "bra"
; to the goto, btfss turns into btfsc over a "bra" past the goto. The symbol counts the NOPs.
; RUN: -mcpu=ZEL18A44 --errata=16384 -A -Oout.opt %s
; OUTPSECT: out.opt text
; | main:
; | 	callstack 0
; | 	dw	65535	; assembler added errata NOP
; | 	cpfseq	16,c
; | 	bra	L2
; | 	bra	L1
; | L2:
; | 	goto	far
; | L1:
; | 	btfsc	16,1,c
; | 	bra	L3
; | 	goto	far
; | L3:
; | 	call	sub
; | 	return
; | far:
; | 	dw	65535	; assembler added errata NOP
; | 	movlw	1
; | sub:
; | 	dw	65535	; assembler added errata NOP
; | 	retlw	2
; | 	dw	65535	; assembler added errata NOP
