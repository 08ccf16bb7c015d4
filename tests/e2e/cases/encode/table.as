; Table reads and writes: each of the four modes written after the keyword (joined or apart, or
; left out), and the six words that name a mode.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: table.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=45 loc=0x0 psect="code"
; OUT:   0000: 08 00 09 00 0A 00 0B 00 08 00 09 00 0C 00 0D 00
; OUT:   0010: 0E 00 0F 00 0C 00 0F 00 09 00 0A 00 0B 00 0D 00
; OUT:   0020: 0E 00 0F 00
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        tblrd*                  ; mode 0: 0008 + 0 = 0008
        tblrd*+                 ; mode 1: 0008 + 1 = 0009
        tblrd*-                 ; mode 2: 0008 + 2 = 000A
        tblrd+*                 ; mode 3: 0008 + 3 = 000B
        tblrd                   ; no mode is mode 0: = 0008
        tblrd   *+              ; apart from the keyword: 0008 + 1 = 0009
        tblwt*                  ; 000C + 0 = 000C
        tblwt*+                 ; 000C + 1 = 000D
        tblwt*-                 ; 000C + 2 = 000E
        tblwt+*                 ; 000C + 3 = 000F
        tblwt                   ; = 000C
        tblwt   +*              ; 000C + 3 = 000F
        tblrdpostinc            ; = 0009
        tblrdpostdec            ; = 000A
        tblrdpreinc             ; = 000B
        tblwtpostinc            ; = 000D
        tblwtpostdec            ; = 000E
        tblwtpreinc             ; = 000F
