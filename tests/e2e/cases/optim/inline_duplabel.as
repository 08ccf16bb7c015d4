	psect	text0,class=CODE
	global	_main
_main:
	call	_h
	movwf	40h,c
	goto	_main
__end_of_main:

	psect	text1,class=CODE,inline
	global	_h
_h:
_h:				; ERROR 845
	movlw	1
	return
__end_of_h:
	end

; A function whose label is defined twice is still expanded once, at the first definition
; (expanding it looped forever).
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; EXIT: 1
; OUTPSECT: out.opt text0
; | _main:
; | 	callstack 0
; | iL1:
; | 	movlw	1
; | iL2:
; | 	movwf	64,c
; | 	goto	_main
