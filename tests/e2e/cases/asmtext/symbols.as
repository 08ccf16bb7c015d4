	global	_main,_helper
	extrn	_ext
	signat	_main,4217
	signat	_helper,89
	fnsize	_main,2,0
	fnsize	_main,1,3
	fnaddr	_helper
	fnroot	_main
	fncall	_main,_helper
	fncall	_main,_ext
	fnarg	_helper,?_helper
	fnbreak	_main,_helper
	fnindir	_main,12
	fnalign	_main,_helper
	fnconf	rparam,??,?,1
K	equ	5
early	equ	later+1
unused	equ	7
	global	gk
gk	equ	3
	signat	gk,5
wreg	equ	0xFF3
	psect	text,class=CODE
_main:
	movlw	K
	movlw	early
	movwf	wreg
	call	_helper
	goto	_ext
	callstack 3
_helper:
	return
later	equ	10
	end

; Symbol directives in name order: GLOBAL for global and external names, EQU for every EQU
; symbol (uses print the value, forward ones too; a core SFR's own EQU is left to the SFR
; equates), the FN directives of referenced or global names, FNALIGN groups; CALLSTACK after
; each global label.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTFILE: out.opt
; | K	equ	5
; | 	global	_ext
; | 	global	_helper
; | 	signat	_helper,89
; | 	FNADDR	_helper
; | 	FNARG	_helper,?_helper
; | 	global	_main
; | 	signat	_main,4217
; | 	FNSIZE	_main,2,3
; | 	FNROOT	_main
; | 	FNCALL	_main,_helper
; | 	FNCALL	_main,_ext
; | 	FNBREAK	_main,_helper
; | 	FNINDIR	_main,12
; | early	equ	11
; | 	global	gk
; | 	signat	gk,5
; | gk	equ	3
; | 	global	isa$std
; | 	global	isa$xinst
; | later	equ	10
; | unused	equ	7
; | 	FNALIGN	_main,_helper
; | 	processor	ZEL18A44
; | 	fnconf	rparam,??,?,1
; | 	psect	text,global,class=CODE
; |
; | 	psect	text
; | _main:
; | 	callstack 0
; | 	movlw	5
; | 	movlw	11
; | 	movwf	wreg,c
; | 	call	_helper
; | 	goto	_ext
; | _helper:
; | 	callstack 3
; | 	return
; | %equates(F)
