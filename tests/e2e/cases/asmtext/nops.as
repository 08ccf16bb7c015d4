	nop
	nop2
	end

; NOP forms: under -no_trans NOP is stored with the sub-operation 0 and still written "nop";
; NOP2 by its name (the usual NOP shows in every other case).
; RUN: -mcpu=ZEL18A44 -no_trans -A -Oout.opt %s
; OUTFILE: out.opt
; | 	global	isa$std
; | 	global	isa$xinst
; | 	processor	ZEL18A44
; | 	nop
; | 	nop2
; | %equates(F)
