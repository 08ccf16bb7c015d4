; Code from other tool suites (--cmode bits 2, 4, 8): on ";#" lines of optimizable psects a
; MOVLB of a label takes its high byte and a banked file-register operand the low byte of each
; label in it. Lines without ";#", psects the optimizer does not take, and the access bank are
; left alone; without such a mode nothing changes.
; RUN: -mcpu=ZEL18A44 --cmode=quillas -A -Oout.opt %s
; OUTPSECT: out.opt text
; | lab:
; | 	nop
; | 	movlb	high(lab)	;# assembler added high
; | 	movwf	low(lab+1),b	;# assembler added low
; | 	addwf	low(lab)+low(lab),w,b	;# assembler added low
; | 	movwf	lab,c	;#
; | 	movwf	lab+1,b
; | 	movlb	3	;#
; OUTPSECT: out.opt data
; | 	movlb	lab	;#
; RUN: -mcpu=ZEL18A44 --cmode=ntx %s
	psect	text,class=CODE,delta=1
lab:	nop
	movlb	lab	;# from another suite
	movwf	lab+1,b	;#
	addwf	lab+lab,w,b	;#
	movwf	lab,c	;#
	movwf	lab+1,b
	movlb	3	;#
	psect	data,class=CODE,delta=1
	movlb	lab	;#
