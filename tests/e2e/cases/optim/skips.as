	psect	text,class=CODE
	global	s1,s2,s3,s4
s1:
	btfsc	0x10,0,c
	goto	k1
	retlw	1
k1:
	retlw	2
s2:
	btfsc	0xFD8,2,c
	goto	k2
	clrf	3,c
k2:
	clrf	4,c
	return
s3:
	btfss	0xFD8,0,c
	goto	k3
	clrf	5,c
k3:
	clrf	6,c
	return
s4:
	asmopt	off
	btfss	0xFD8,0,c
	goto	k4
	asmopt	on
	movlw	7
k4:
	return
	end

; Skip around a return: btfsc over a goto past a retlw tests the other way round and the goto
; goes. Skip over jump: btfsc/btfss on Z or C over a goto becomes bz, bnz, bc or bnc. Nothing
; changes under asmopt off.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | s1:
; | 	callstack 0
; | 	btfss	16,0,c
; | 	retlw	1
; | 	retlw	2
; | s2:
; | 	callstack 0
; | 	bz	k2
; | 	clrf	3,c
; | k2:
; | 	clrf	4,c
; | 	return
; | s3:
; | 	callstack 0
; | 	bnc	k3
; | 	clrf	5,c
; | k3:
; | 	clrf	6,c
; | 	return
; | s4:
; | 	callstack 0
; | 	btfss	status,0,c
; | 	goto	k4
; | 	movlw	7
; | k4:
; | 	return
