; Psects for code and data, symbols, function information and line numbers (-V) in one object.
; The statements come first so that their line numbers stay small.
        psect   ram1,class=BANK0,space=1
buf:    ds      10              ; space 1: no bytes, an extent record of 10
        psect   ram0,class=DATA
pad:    ds      10              ; space 0: no bytes and no extent record
        psect   code,class=CODE,reloc=2
        global  main,ext
        fnconf  rparam,?a,?_,3
        signat  main,4217
        fnroot  main
        fnalign f1,f2
        fnalign f2,f3           ; shares f2: one group f1,f2,f3
        dabs    1,0x20,2,flag
main:   movlw   low(buf)        ; 0E00, low byte by relocation
        call    ext             ; EC00 F000 with the address of ext
        dw      main            ; two bytes relative to code
        end     main
; RUN: -mcpu=ZEL18A44 -V %s
; RUN zel18dump: sections.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: FNCONF len=15 first="rparam" second="?a" third="?_" number=3
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=7 flags=0x10(global) name="ram0"
; OUT: XPSECT len=23 size=0x0 reloc=0x0 space=0 delta=1 psect="ram0" class="DATA" with=""
; OUT: PSECT len=7 flags=0x10(global) name="ram1"
; OUT: XPSECT len=24 size=0x0 reloc=0x0 space=1 delta=1 psect="ram1" class="BANK0" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=59
; OUT:   value=0x0 type=22(extern) base="" name="ext"
; OUT:   value=0x0 type=16(global) base="code" name="main"
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: SIGNAT len=7 signat=0x1079 name="main"
; OUT: FNALIGN len=11 group=0
; OUT:   member="f1"
; OUT:   member="f2"
; OUT:   member="f3"
; OUT: DABS len=14
; OUT:   space=1 addr=0x20 size=0x2 name="flag"
; OUT: TEXT len=17 loc=0x0 psect="code"
; OUT:   0000: 00 0E 00 EC 00 F0 00 00
; OUT: RELOC len=55
; OUT:   offset=0x0 type=0x31 complex bytes=1 expr=low(ram1)
; OUT:   offset=0x2 type=0x31 complex bytes=1 expr=(extern(ext) >> 0x1) & 0xFF
; OUT:   offset=0x4 type=0xFC complex bits=12 expr=extern(ext) >> 0x9
; OUT:   offset=0x6 type=0x12 psect bytes=2 target="code"
; OUT: TEXT len=9 extent=0xA psect="ram1"
; OUT: SYM len=80
; OUT:   value=0x0 type=5(file) base="" name="sections.as"
; OUT:   value=0x0 type=5(file) base="" name="sections.as"
; OUT:   value=0x0 type=4(line) base="code" name="15"
; OUT:   value=0x2 type=4(line) base="code" name="16"
; OUT:   value=0x6 type=4(line) base="code" name="17"
; OUT: START len=9 offset=0x0 psect="code"
; OUT: FNINFO len=6
; OUT:   FNROOT function="main"
; OUT: END len=2
