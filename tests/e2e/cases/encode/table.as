; Table reads and writes: each of the four modes written after the keyword (joined or apart, or
; left out), and words that name a mode.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: table.obj
        psect   code,class=CODE,reloc=2
        tblrd*                  ; mode 0: 0008 + 0 ;= 0008
        tblrd*+                 ; mode 1: 0008 + 1 ;= 0009
        tblrd*-                 ; mode 2: 0008 + 2 ;= 000A
        tblrd+*                 ; mode 3: 0008 + 3 ;= 000B
        tblrd                   ; no mode is mode 0 ;= 0008
        tblrd   *+              ; apart from the keyword: 0008 + 1 ;= 0009
        tblwt                   ;= 000C
        tblwt   +*              ; 000C + 3 ;= 000F
        tblrdpostinc            ;= 0009
        tblwtpreinc             ;= 000F
