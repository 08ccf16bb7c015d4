	psect	text,class=CODE,optim=jump
	global	a1,a2,a3,a4,a5,a6
a1:
	goto	n1
n1:
	btfsc	0x10,0,c
	goto	n2
	movlw	1
n2:
	movlw	2
	btfsc	0x10,1,c
	goto	n3
n3:
	return
a2:
	goto	j1
	nop
j1:
	goto	j2
	nop
j2:
	movlw	3
self:
	goto	self
a3:
	goto	r1
	goto	r1
	nop
r1:
	retlw	7
a4:
	movlw	4
	goto	x2
x1:
x2:
	movlw	5
	btfsc	0x10,2,c
	goto	x1
	return
a5:
	btfsc	0x10,3,c
	btfsc	0x10,4,c
	goto	y1
y1:
	return
r2:
	return
a6:
	movlw	6
	goto	r2
	end

; a1: a goto to the next statement goes, and so does a btfsc/btfss with its goto when the goto
; leads to the statement after it; a skip over a goto elsewhere stays. a2: a goto to a goto goes to the second
; one's target (then on to the next statement); a goto to itself stays. a3: duplicate gotos go
; but one, which becomes the return it leads to. a4: a goto to the second label of a run goes
; to the first (x1, whose jump from the skip keeps it). a5: a skip skipping a skip over a goto to
; the next statement, whose goto becomes a return.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | a1:
; | 	callstack 0
; | 	btfsc	16,0,c
; | 	goto	n2
; | 	movlw	1
; | n2:
; | 	movlw	2
; | 	return
; | a2:
; | 	callstack 0
; | 	movlw	3
; | self:
; | 	goto	self
; | a3:
; | 	callstack 0
; | 	retlw	7
; | a4:
; | 	callstack 0
; | 	movlw	4
; | x1:
; | 	movlw	5
; | 	btfsc	16,2,c
; | 	goto	x1
; | 	return
; | a5:
; | 	callstack 0
; | 	btfsc	16,3,c
; | 	return
; | 	return
; | a6:
; | 	callstack 0
; | 	movlw	6
; | 	return
; With the errata mask 16384 a goto to a return stays (and the NOP pass adds its NOPs), so a5
; shows the skip removal: the inner skip goes first, then the outer one with the goto.
; RUN: -mcpu=ZEL18A44 -O --errata=16384 -A -Oerrata.opt errata.as
; OUTPSECT: errata.opt text
; | a5:
; | 	callstack 0
; | 	dw	65535	; assembler added errata NOP
; | 	return
; | r2:
; | 	dw	65535	; assembler added errata NOP
; | 	return
; | a6:
; | 	callstack 0
; | 	dw	65535	; assembler added errata NOP
; | 	movlw	6
; | 	goto	r2
; FILE: errata.as
; | 	psect	text,class=CODE,optim=jump
; | 	global	a5,a6
; | a5:
; | 	btfsc	0x10,3,c
; | 	btfsc	0x10,4,c
; | 	goto	y1
; | y1:
; | 	return
; | r2:
; | 	return
; | a6:
; | 	movlw	6
; | 	goto	r2
