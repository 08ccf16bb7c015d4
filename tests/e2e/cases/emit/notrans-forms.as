; With -no_trans a conditional branch keeps its one word whatever the distance; a displacement
; beyond it is an error (1223) and is written cut to eight bits. A near CALL keeps its long form.
; The RAM access choice made for an operand without its access word is reported (1522).
; RUN: -mcpu=ZEL18A44 -no_trans -V %s
; EXIT: 1
; WORDS: notrans-forms.obj
        movwf   0x20            ; access RAM ;= 6E20 ; WARNING 1522
        movwf   la              ; banked, la at 4 ;= 6F04 ; WARNING 1522
la:
        psect   pe,class=CODE,reloc=2
        bz      lz              ; lz at 2 + 256 = 102: n = (102 - 2) / 2 = 80 ;= E080 ; ERROR 1223
        ds      256
lz:     return                  ;= 0012

        psect   pf,class=CODE,reloc=2
        bz      lf              ; lf at 2 + 2044 = 7FE: n = 3FE, cut to FE ;= E0FE ; ERROR 1223
        ds      2044
lf:     return                  ;= 0012

        psect   ph,class=CODE,reloc=2
lh:     return                  ;= 0012
        ds      254
        bz      lh              ; at 100: n = (0 - 102) / 2 = -81, cut to 7F ;= E07F ; ERROR 1223

        psect   pm,class=CODE,reloc=2
        call    lm              ; lm at 4
                                ;= EC00 F000 [+0 complex bytes=1 expr=((0x4 + pm) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=(0x4 + pm) >> 0x9]
lm:     return                  ;= 0012
