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
; | tosu	equ	0xFFF
; | tosh	equ	0xFFE
; | tosl	equ	0xFFD
; | stkptr	equ	0xFFC
; | pclatu	equ	0xFFB
; | pclath	equ	0xFFA
; | pcl	equ	0xFF9
; | tblptru	equ	0xFF8
; | tblptrh	equ	0xFF7
; | tblptrl	equ	0xFF6
; | tablat	equ	0xFF5
; | prodh	equ	0xFF4
; | prodl	equ	0xFE8
; | indf0	equ	0xFEF
; | postinc0	equ	0xFEE
; | postdec0	equ	0xFED
; | preinc0	equ	0xFEC
; | plusw0	equ	0xFEB
; | fsr0h	equ	0xFEA
; | fsr0l	equ	0xFE9
; | wreg	equ	0xFF3
; | indf1	equ	0xFE7
; | postinc1	equ	0xFE6
; | postdec1	equ	0xFE5
; | preinc1	equ	0xFE4
; | plusw1	equ	0xFE3
; | fsr1h	equ	0xFE2
; | fsr1l	equ	0xFE1
; | bsr	equ	0xFE0
; | indf2	equ	0xFDF
; | postinc2	equ	0xFDE
; | postdec2	equ	0xFDD
; | preinc2	equ	0xFDC
; | plusw2	equ	0xFDB
; | fsr2h	equ	0xFDA
; | fsr2l	equ	0xFD9
; | status	equ	0xFD8
