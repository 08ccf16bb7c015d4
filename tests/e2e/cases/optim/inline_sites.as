	psect	text0,class=CODE
	global	_main
_main:
	call	_k
	movlw	3
	movwf	42h,c
	call	_k
	movwf	41h,c
	goto	_main
__end_of_main:

	psect	text1,class=CODE,inline
	global	_k
_k:
	movff	30h,wreg
	movwf	40h,c
	return
__end_of_k:
	end

; Each expanded call is a copy of its own: at the first call W is dead after the body, so its
; movff to W and movwf become one movff; at the second the caller stores W, and that copy keeps
; both as the function has them.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text0
; | _main:
; | 	callstack 0
; | iL1:
; | 	movff	48,64
; | iL2:
; | 	movlw	3
; | 	movwf	66,c
; | iL3:
; | 	movff	48,wreg
; | 	movwf	64,c
; | iL4:
; | 	movwf	65,c
; | 	goto	_main
; OUTPSECT: out.opt text1
; | _k:
; | 	callstack 0
