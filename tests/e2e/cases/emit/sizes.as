; Branch forms at the limits of their distances, stated by the words of each line: GOTO is a
; BRA only with -O (";=opt") and within 2047 bytes; a conditional branch is a skip over a BRA
; within -2044 to 2043 bytes, else a skip over a long GOTO, as for a target elsewhere; "$"+n
; and temporary labels are targets like labels; in an absolute psect only a constant target has
; a short form. The one-word limits of a conditional branch and the RCALL form of CALL are
; checked in encode/control.as.
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

        psect   pf,class=CODE,reloc=2
        bz      lf              ; d = 800 - 2 = 2046: BNZ +2, then a long GOTO to 802
                                ;= E102 EF00 F000 [+2 complex bytes=1 expr=((0x802 + pf) >> 0x1) & 0xFF]
                                ;= [+4 complex bits=12 expr=(0x802 + pf) >> 0x9]
        ds      2044
lf:     return                  ;= 0012

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
