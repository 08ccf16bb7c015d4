	psect	intcode,class=CODE,optim=jump
	global	vec,main,save_ctx
vec:
	goto	isr
main:
	movlw	1
	return
isr:
int_fun_isr:
	movwf	0x20,c
	retfie	1
save_ctx:
	movlw	2
	return
	end

; Block motion: the interrupt function's block, from isr: to the retfie before save_ctx:, moves
; to the place of the only goto into it, which goes; the return before it is then followed by
; save_ctx:. The labels of the block are no longer used.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt intcode
; | vec:
; | 	callstack 0
; | 	movwf	32,c
; | 	retfie	f
; | main:
; | 	callstack 0
; | 	movlw	1
; | 	return
; | save_ctx:
; | 	callstack 0
; | 	movlw	2
; | 	return
