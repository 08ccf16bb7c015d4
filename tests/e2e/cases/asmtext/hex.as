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
; | %equates(F)
