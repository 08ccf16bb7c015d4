; Branch forms at the limits of their distances, stated by the words of each line: GOTO is a
; BRA only with -O (";=opt") and within 2047 bytes; a conditional branch is one word within
; -256 to 255 bytes, a skip over a BRA within -2044 to 2043, else a skip over a long GOTO, as
; for a target elsewhere; "$"+n and temporary labels are targets like labels; CALL is an RCALL
; unless it is fast; in an absolute psect only a constant target has a short form.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: sizes.obj
; RUN: -mcpu=ZEL18A44 -O -V %s
; WORDS opt: sizes.obj
        psect   pa,class=CODE,reloc=2
        goto    la              ; -O: d = 7FE - 2 = 2044, n = 3FE ;=opt D3FE
                                ;= EF00 F000 [+0 complex bytes=1 expr=((0x800 + pa) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=(0x800 + pa) >> 0x9]
        ds      2044
la:     return                  ;= 0012

        psect   pb,class=CODE,reloc=2
        goto    lb              ; d = 2048 even as a BRA: long, lb at 804
                                ;= EF00 F000 [+0 complex bytes=1 expr=((0x804 + pb) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=(0x804 + pb) >> 0x9]
        ds      2048
lb:     return                  ;= 0012

        psect   pc,class=CODE,reloc=2
        goto    0x100           ; a constant in a relocatable psect: long, EF00 + 80 ;= EF80 F000

        psect   pd,class=CODE,reloc=2
        bz      ld              ; d = 100 - 2 = 254: n = 7F ;= E07F
        ds      254
ld:     return                  ;= 0012

        psect   pe,class=CODE,reloc=2
        bz      lz              ; d = 258 - 2 = 256: BNZ +1, BRA (104 - 4) / 2 ;= E101 D080
        ds      256
lz:     return                  ;= 0012

        psect   pf,class=CODE,reloc=2
        bz      lf              ; d = 800 - 2 = 2046: BNZ +2, then a long GOTO to 802
                                ;= E102 EF00 F000 [+2 complex bytes=1 expr=((0x802 + pf) >> 0x1) & 0xFF]
                                ;= [+4 complex bits=12 expr=(0x802 + pf) >> 0x9]
        ds      2044
lf:     return                  ;= 0012

        psect   pg,class=CODE,reloc=2
lg:     return                  ;= 0012
        ds      252
        bz      lg              ; at FE: d = 0 - 100 = -256, n = -128 ;= E080

        psect   ph,class=CODE,reloc=2
lh:     return                  ;= 0012
        ds      254
        bz      lh              ; at 100: d = -258: BNZ +1, BRA (0 - 104) / 2 = -130 ;= E101 D77E

        psect   pi,class=CODE,reloc=2
        global  ext
        bz      ext             ; another psect: BNZ +2, then a long GOTO
                                ;= E102 EF00 F000 [+2 complex bytes=1 expr=(extern(ext) >> 0x1) & 0xFF]
                                ;= [+4 complex bits=12 expr=extern(ext) >> 0x9]

        psect   pj,class=CODE,reloc=2
        bz      $+256           ; d = 256: BNZ +1, BRA (100 - 4) / 2 ;= E101 D07E

        psect   pk,class=CODE,reloc=2
        bz      $-256           ; d = -256, but -258 from the next word: BNZ +1, BRA (-100 - 4) / 2
                                ;= E101 D77E

        psect   pl,class=CODE,reloc=2
        bz      $-254           ; (-254 - 2) / 2 = -128 ;= E080

        psect   pm,class=CODE,reloc=2
        call    lm              ; an RCALL of n = 0 ;= D800
lm:     return                  ;= 0012
        call    lm,1            ; fast: the long form
                                ;= ED00 F000 [+0 complex bytes=1 expr=((0x2 + pm) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=(0x2 + pm) >> 0x9]

        psect   pn,class=CODE,reloc=2
        bz      1f              ; 1: at 4 + 300 = 130: BNZ +1, BRA (130 - 4) / 2 ;= E101 D096
        ds      300
1:      return                  ;= 0012

        psect   po,abs,ovrld,class=CODE
        org     0x100
lo:     bz      0x104           ; d = 104 - 102 = 2 ;= E001
        bz      0x400           ; d = 400 - 104: BNZ +1, BRA (400 - 106) / 2 = 17D ;= E101 D17D
        bz      lo              ; a label here is no constant: BNZ +2, GOTO 100 ;= E102 EF80 F000
        call    ext             ; not a constant: the long form
                                ;= EC00 F000 [+0 complex bytes=1 expr=(extern(ext) >> 0x1) & 0xFF]
                                ;= [+2 complex bits=12 expr=extern(ext) >> 0x9]
        call    lo              ;= EC80 F000
        goto    lo              ;= EF80 F000
        goto    0x100           ; at 118: n = (100 - 11A) / 2 = -D ;=opt D7F3
                                ;= EF80 F000
