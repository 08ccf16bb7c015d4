	psect	text,class=CODE,optim=peep
	goto	m1
m1:
	return
	psect	swtext1,class=CODE
	goto	m2
m2:
	return
	psect	mytext,class=CODE
	goto	m3
m3:
	return
	end

; A psect whose optim= list lacks "jump" keeps its jumps; a psect whose name begins with swtext
; is not optimized; one whose name contains text is.
; RUN: -mcpu=ZEL18A44 -O -A -Oout.opt %s
; OUTPSECT: out.opt text
; | 	goto	m1
; | m1:
; | 	return
; OUTPSECT: out.opt swtext1
; | 	goto	m2
; | m2:
; | 	return
; OUTPSECT: out.opt mytext
; | 	return
