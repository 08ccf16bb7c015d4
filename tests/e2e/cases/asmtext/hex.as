	psect	code,class=CODE
	movlw	255
	movlw	-1
	addlw	low(lab+16)
lab:	dw	lab-2,1000
	movwf	0xFE8,c
	dw	lab*(lab+10),lab*-3,3f
3:
	org	32
	align	16
	end

; -H: constants in values are written "$" and hexadecimal digits, negative ones in two's
; complement (a negative right operand then needs no parentheses) and offsets by their size;
; temporary label numbers stay decimal; ORG and ALIGN arguments and the SFR equates keep their
; own forms.
; RUN: -mcpu=ZEL18A44 -H -A -Oout.opt %s
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	psect	code,global,class=CODE
; |
; | 	psect	code
; | 	movlw	$FF
; | 	movlw	$FFFFFFFFFFFFFFFF
; | 	addlw	low(lab+$10)
; | lab:
; | 	dw	lab-$2,$3E8
; | 	movwf	prodl,c
; | 	dw	lab*(lab+$A),lab*$FFFFFFFFFFFFFFFD,3f
; | 3:
; | 	org	32
; | 	align	16
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
