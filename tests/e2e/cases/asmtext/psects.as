	dabs	1,0x20,4,flagbyte
	dabs	1,0x60,2
here:	nop
	bra	here
	psect	data_a,class=COMRAM,space=1,reloc=2,size=16,delta=1,noexec,lowdata
	psect	code_b,local,class=CODE,reloc=2,optim=inline:jump,group=3
	psect	bits,bit,class=COMRAM,space=1,ovrld,abs,common
	psect	rem,class=CODE,optim=remove:peep:pa
	psect	plain,keep,inline,minocg,codecov,with=code_b,limit=100,pure
	psect	noted,note,space=6,class=NOTES
; before code
	psect	code_b
	movf	flagbyte,w,c
	psect	data_a
buf:	ds	4
	end

; Psect directives with every flag in their fixed order and the optim list in bit order; DABS
; ranges; psects without statements get no second psect line. The unnamed absolute psect's
; statements come first, while it is still current; comments before a psect directive lead its
; block; a label that is never referenced is left out.
; RUN: -mcpu=ZEL18A44 -A -Oout.opt %s
; OUTFILE: out.opt
; | 	global	flagbyte
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | here:
; | 	nop
; | 	bra	here
; | 	psect	data_a,global,size=16,reloc=2,class=COMRAM,space=1,delta=1,lowdata,noexec
; | 	psect	code_b,local,reloc=2,class=CODE,keep,inline,group=3,optim=inline:jump
; | 	psect	bits,global,abs,ovrld,bit,common,class=COMRAM,space=1
; | 	psect	rem,global,class=CODE,optim=pa:peep:remove
; | 	psect	plain,global,pure,limit=100,with=code_b,keep,inline,minocg,codecov
; | 	psect	noted,global,note,class=NOTES,space=6,noexec
; | 	dabs	1,0x20,4,flagbyte
; | 	dabs	1,0x60,2
; |
; | 	psect	data_a
; | 	ds	4
; |
; | ; before code
; |
; | 	psect	code_b
; | 	movf	32,w,c
; | %equates(F)
