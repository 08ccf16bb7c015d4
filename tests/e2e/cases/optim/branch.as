	psect	text,class=CODE,optim=jump
	global	b1,b2
b1:
	bz	t1
	return
u1:
	movlw	1
	return
t1:
	goto	u1
b2:
	bz	t2
	return
t2:
	goto	u2
	ds	300
u2:
	movlw	2
	return
	end

; A conditional branch to a goto goes to the goto's target when that lies within its reach
; (-254 to 256 bytes from the branch): u1 is 4 bytes on, and the goto left behind goes as dead
; code with its unused label; u2 is 306 bytes on, so bz t2 stays.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | b1:
; | 	callstack 0
; | 	bz	u1
; | 	return
; | u1:
; | 	movlw	1
; | 	return
; | b2:
; | 	callstack 0
; | 	bz	t2
; | 	return
; | t2:
; | 	goto	u2
; | 	ds	300
; | u2:
; | 	movlw	2
; | 	return
