	psect	udata,class=RAM,space=1
var:	ds	1
	psect	code,class=CODE,reloc=2
start:
	addwf	5,w
	addwfc	0xFE8,f
	comf	var
	rlncf	var,c,f
	subfwb	var,0,0
	movwf	0xFE0
	clrf	var,c
	setf	var
	bcf	var,3
	btg	var,c,7
	btfss	0xFD8,2
	movff	0xFE8,var
	movff	var,0xFF3
	lfsr	2,0x100
	call	sub
	call	sub,f
	fcall	sub
	rcall	sub
	bra	start
	bn	start
	bnov	start
	goto	start
	ljmp	start
	retfie	f
	return
	return	1
	tblrd	*
	tblrd	*+
	tblwt	*-
	tblwt	+*
	tblwtpreinc
	nop
	clrw
	trap
	movlw	high(var)
	addlw	low(start+2)
	retlw	-1
	movlb	3
	banksel	var
	dbout
sub:
	return
	end

; Instruction operands: destination and access words always written out, core registers by
; name, brackets for an indexed operand, the fast forms of CALL and RETURN, table-access modes,
; and the first of two mnemonics with the same opcode.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTPSECT: out.opt code
; | start:
; | 	addwf	5,w,b
; | 	addwfc	prodl,f,c
; | 	comf	var,f,b
; | 	rlncf	var,f,c
; | 	subfwb	var,w,c
; | 	movwf	bsr,c
; | 	clrf	var,c
; | 	setf	var,b
; | 	bcf	var,3,b
; | 	btg	var,7,c
; | 	btfss	status,2,c
; | 	movff	prodl,var
; | 	movff	var,wreg
; | 	lfsr	2,256
; | 	call	sub
; | 	call	sub,f
; | 	call	sub
; | 	rcall	sub
; | 	bra	start
; | 	bmi	start
; | 	bnv	start
; | 	goto	start
; | 	goto	start
; | 	retfie	f
; | 	return
; | 	return	f
; | 	tblrd	*
; | 	tblrd	*+
; | 	tblwt	*-
; | 	tblwt	+*
; | 	tblwt	+*
; | 	nop
; | 	clrw
; | 	trap
; | 	movlw	high(var)
; | 	addlw	low(start+2)
; | 	retlw	-1
; | 	movlb	3
; | 	banksel	var
; | 	dbout
; | sub:
; | 	return
