; Code from other tool suites (--cmode bits 2, 4, 8): on ";#" lines of optimizable psects a
; MOVLB of a label takes its high byte and a banked file-register operand the low byte of each
; label in it. Lines without ";#", psects the optimizer does not take, and the access bank are
; left alone; without such a mode nothing changes.
; RUN: -mcpu=ZEL18A44 --cmode=quillas --kvdebug=stmts %s
; OUT: psect ""
; OUT: psect "text"
; OUT:   NAME sub=0 dest=- acc=- flags=1 label=lab
; OUT:   NOP sub=f000 dest=- acc=- flags=1
; OUT:   MOVLB sub=100 dest=- acc=- flags=21 o1=1:op2(lab) eol=";# assembler added high"
; OUT:   MOVWF sub=6e00 dest=- acc=BANKED flags=21 o1=2:op1(lab+1) eol=";# assembler added low"
; OUT:   ADDWF sub=2400 dest=W acc=BANKED flags=21 o1=2:op4(op1(lab),op1(lab)) eol=";# assembler added low"
; OUT:   MOVWF sub=6e00 dest=- acc=ACCESS flags=21 o1=2:lab eol=";#"
; OUT:   MOVWF sub=6e00 dest=- acc=BANKED flags=1 o1=2:lab+1
; OUT:   MOVLB sub=100 dest=- acc=- flags=21 o1=1:3 eol=";#"
; OUT: psect "data"
; OUT:   MOVLB sub=100 dest=- acc=- flags=21 o1=1:lab eol=";#"
; OUT: order: "data" "text" ""
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
