	psect	text0,class=CODE
	global	_main
_main:
	call	_f
	movwf	20h,c
	call	_f
	btfsc	21h,0,c
	call	_h
	call	_g
	call	_small
	call	_big
	goto	_main
__end_of_main:

	psect	text1,class=CODE,inline
	global	_f
_f:
	movf	22h,w,c
	bz	l1
	retlw	3
l1:
	incf	22h,f,c
	return
__end_of_f:

	psect	text2,class=CODE,inline
	global	_h
_h:
	clrf	23h,c
	return
__end_of_h:

	psect	text3,class=CODE,inline
_g:				; WARNING 1433
	org	4
	return
__end_of_g:

	psect	text4,class=CODE
_small:
	clrf	24h,c
	incf	24h,f,c
	return
__end_of_small:

	psect	text5,class=CODE
_big:
	clrf	25h,c
	incf	25h,f,c
	incf	25h,f,c
	return
__end_of_big:
	end

; Calls of inline functions are replaced by copies of their bodies between two "iL" labels,
; with "i<n>L" copies of their labels (those no jump uses go), returns turned into jumps to the
; end label (the last one, a jump to the next statement, goes) and retlw into movlw and such a
; jump. The body of _f goes but for its global label. _h stays: its call after a skip is not
; expanded. _g holds an org, so it is not inlined and says so (a warning below the default
; threshold). Without -auto_inline the functions without the inline flag stay calls.
; RUN: -mcpu=ZEL18A44 -O -W-2 -A -Oout.opt %s
; OUTPSECT: out.opt text0
; | _main:
; | 	callstack 0
; | iL1:
; | 	movf	34,w,c
; | 	bz	i1Ll1
; | 	movlw	3
; | 	goto	iL2
; | i1Ll1:
; | 	incf	34,f,c
; | iL2:
; | 	movwf	32,c
; | iL3:
; | 	movf	34,w,c
; | 	bz	i2Ll1
; | 	movlw	3
; | 	goto	iL4
; | i2Ll1:
; | 	incf	34,f,c
; | iL4:
; | 	btfsc	33,0,c
; | 	call	_h
; | 	call	_g
; | 	call	_small
; | 	call	_big
; | 	goto	_main
; OUTPSECT: out.opt text1
; | _f:
; | 	callstack 0
; OUTPSECT: out.opt text2
; | _h:
; | 	callstack 0
; | 	clrf	35,c
; | 	return
; With -auto_inline a function of at most 7 bytes is expanded too and keeps its body (its label
; goes, nothing uses it); the 8-byte _big is not, its call and label stay.
; RUN: -mcpu=ZEL18A44 -O -auto_inline -A -Oauto.opt %s
; OUTPSECT: auto.opt text5
; | _big:
; | 	clrf	37,c
; | 	incf	37,f,c
; | 	incf	37,f,c
; | 	return
; OUTPSECT: auto.opt text4
; | 	clrf	36,c
; | 	incf	36,f,c
; | 	return
; -no_inline leaves every call as it is.
; RUN: -mcpu=ZEL18A44 -O -no_inline -A -Ono.opt %s
; OUTPSECT: no.opt text1
; | _f:
; | 	callstack 0
; | 	movf	34,w,c
; | 	bz	l1
; | 	retlw	3
; | l1:
; | 	incf	34,f,c
; | 	return
