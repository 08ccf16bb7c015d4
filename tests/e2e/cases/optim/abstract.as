	psect	text0,class=CODE
	global	_main
_main:
	movlw	1
	movwf	20h,c
	incf	21h,f,c
	call	_f
	movlw	1
	movwf	20h,c
	incf	21h,f,c
	call	_g
	clrf	24h,c
	clrf	25h,c
	call	_h
	clrf	24h,c
	clrf	25h,c
	call	_k
	call	_m
	goto	_main

	psect	text1,class=CODE
	global	_f, _g
_f:
	movwf	26h,c
	incf	30h,f,c
	decf	31h,f,c
	comf	32h,f,c
	negf	33h,c
	retlw	0
_g:
	clrf	26h,c
	incf	30h,f,c
	decf	31h,f,c
	comf	32h,f,c
	negf	33h,c
	retlw	0

	psect	text2,class=CODE
	global	_h, _k, _m
_h:
	incf	28h,f,c
	incf	29h,f,c
	incf	2Ah,f,c
	incf	2Bh,f,c
	incf	2Ch,f,c
h1:
	decf	2Dh,f,c
	bnz	h1
	return
_k:
	incf	28h,f,c
	incf	29h,f,c
	incf	2Ah,f,c
	incf	2Bh,f,c
	incf	2Ch,f,c
	call	_f
	movwf	2Eh,c
	return
_m:
	incf	28h,f,c
	incf	29h,f,c
	incf	2Ah,f,c
	incf	2Bh,f,c
	incf	2Ch,f,c
	call	_g
	movwf	2Fh,c
	return

	psect	inttext,class=CODE
	incf	30h,f,c
	decf	31h,f,c
	comf	32h,f,c
	negf	33h,c
	retfie
	psect	text3,class=CODE,optim=jump
	incf	30h,f,c
	decf	31h,f,c
	comf	32h,f,c
	negf	33h,c
	return
	psect	text4,class=CODE
	asmopt	off
	incf	30h,f,c
	decf	31h,f,c
	comf	32h,f,c
	negf	33h,c
	asmopt	on
	return
	psect	text5,class=CODE
	global	_p, _q
_p:
	incf	3Ch,f,c
	incf	3Dh,f,c
	return	;funcret
_q:
	incf	3Ch,f,c
	incf	3Dh,f,c
	return
	end

; Sequences of at least 6 bytes that occur more than once move into procedures of a new psect,
; the sets ranked by (bytes + 1 - 6) x (occurrences - 1): first the five incf of _h, _k and _m
; (the label h1, which a jump from outside the sequence uses, ends the one in _h), then the
; incf..retlw of _f and _g (it ends in a return, so each occurrence becomes a goto and the
; procedure keeps the retlw), last the movlw..incf of _main (6 bytes twice, saving 1 x 1: it is
; abstracted although a call and a return make the code larger; the W value 1 is known at the
; appended return, which the peephole walk then makes a retlw 1). The clrf pairs are 4 bytes, no
; candidates. The copies in inttext (an interrupt psect), in text3 (its optim= list
; lacks pa) and under asmopt off stay. The two 6-byte sequences of text5 differ in the comment of
; their returns (";funcret" tells that the caller reads no Z), so they are no repeat set.
; RUN: -mcpu=ZEL18A44 -O --opt=space -A -Oout.opt %s
; OUTPSECT: out.opt text0
; | _main:
; | 	callstack 0
; | 	call	PL3	;call to abstracted procedure
; | 	call	_f
; | 	call	PL3	;call to abstracted procedure
; | 	call	_g
; | 	clrf	36,c
; | 	clrf	37,c
; | 	call	_h
; | 	clrf	36,c
; | 	clrf	37,c
; | 	call	_k
; | 	call	_m
; | 	goto	_main
; OUTPSECT: out.opt text1
; | _f:
; | 	callstack 0
; | 	movwf	38,c
; | 	goto	PL2	;call to abstracted procedure
; | _g:
; | 	callstack 0
; | 	clrf	38,c
; | 	goto	PL2	;call to abstracted procedure
; OUTPSECT: out.opt text2
; | _h:
; | 	callstack 0
; | 	call	PL1	;call to abstracted procedure
; | h1:
; | 	decf	45,f,c
; | 	bnz	h1
; | 	return
; | _k:
; | 	callstack 0
; | 	call	PL1	;call to abstracted procedure
; | 	call	_f
; | 	movwf	46,c
; | 	return
; | _m:
; | 	callstack 0
; | 	call	PL1	;call to abstracted procedure
; | 	call	_g
; | 	movwf	47,c
; | 	return
; OUTPSECT: out.opt inttext
; | 	incf	48,f,c
; | 	decf	49,f,c
; | 	comf	50,f,c
; | 	negf	51,c
; | 	retfie
; OUTPSECT: out.opt text3
; | 	incf	48,f,c
; | 	decf	49,f,c
; | 	comf	50,f,c
; | 	negf	51,c
; | 	return
; OUTPSECT: out.opt text4
; | 	incf	48,f,c
; | 	decf	49,f,c
; | 	comf	50,f,c
; | 	negf	51,c
; | 	return
; OUTPSECT: out.opt text5
; | _p:
; | 	callstack 0
; | 	incf	60,f,c
; | 	incf	61,f,c
; | 	return	;funcret
; | _q:
; | 	callstack 0
; | 	incf	60,f,c
; | 	incf	61,f,c
; | 	return
; OUTPSECT: out.opt pa_nodes0
; | PL1:
; | 	callstack 0
; | 	incf	40,f,c
; | 	incf	41,f,c
; | 	incf	42,f,c
; | 	incf	43,f,c
; | 	incf	44,f,c
; | 	return
; | __end_ofPL1:
; | PL2:
; | 	callstack 0
; | 	incf	48,f,c
; | 	decf	49,f,c
; | 	comf	50,f,c
; | 	negf	51,c
; | 	retlw	0
; | __end_ofPL2:
; | PL3:
; | 	callstack 0
; | 	movlw	1
; | 	movwf	32,c
; | 	incf	33,f,c
; | 	retlw	1
; | __end_ofPL3:
; With -no_pa, or errata bit 4, nothing is abstracted: there is no psect of procedures.
; RUN: -mcpu=ZEL18A44 -O --opt=space -no_pa -A -Onopa.opt %s
; OUTPSECT: nopa.opt pa_nodes0
; RUN: -mcpu=ZEL18A44 -O --opt=space --errata=16 -A -Oerrata.opt %s
; OUTPSECT: errata.opt pa_nodes0
