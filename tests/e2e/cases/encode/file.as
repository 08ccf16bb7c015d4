; Single-operand file instructions (f, a): every mnemonic, the access suffixes in word and number
; form, the access mark, the default access for access SFRs, banked RAM and relocatable addresses.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: file.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=6 flags=0x10(global) name="ram"
; OUT: XPSECT len=21 size=0x0 reloc=0x0 space=0 delta=1 psect="ram" class="RAM" with=""
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=43 loc=0x0 psect="code"
; OUT:   0000: 40 03 40 02 8A 02 41 63 42 64 43 60 44 67 45 6F
; OUT:   0010: 93 6E 93 6F 46 6E 47 6B 48 68 E8 6C F3 6A 02 6B
; OUT:   0020: 03 6E
; OUT: RELOC len=14
; OUT:   offset=0x1E type=0x11 psect bytes=1 target="ram"
; OUT:   offset=0x20 type=0x11 psect bytes=1 target="ram"
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        mulwf   0x40            ; banked RAM is banked: 0200 + 100 + 40 = 0340
        mulwf   0x40,c          ; 0200 + 40 = 0240
        mulwf   0xF8A           ; an access SFR is accessed: 0200 + 8A = 028A
        cpfseq  0x41,b          ; 6200 + 100 + 41 = 6341
        cpfsgt  0x42,a          ; 6400 + 42 = 6442
        cpfslt  0x43,0          ; 0 is access: 6000 + 43 = 6043
        tstfsz  0x44,1          ; 1 is banked: 6600 + 100 + 44 = 6744
        movwf   0x45            ; 6E00 + 100 + 45 = 6F45
        movwf   0xF93           ; 6E00 + 93 = 6E93
        movwf   0xF93,b         ; 6E00 + 100 + 93 = 6F93
        movwf   c:0x46          ; 6E00 + 46 = 6E46
        clrf    0x47,b          ; 6A00 + 100 + 47 = 6B47
        setf    0x48,c          ; 6800 + 48 = 6848
        negf    0xFE8           ; 6C00 + E8 = 6CE8
        clrf    0xFF3           ; the same word as clrw: 6A00 + F3 = 6AF3
; Relocatable addresses: banked by default, the low byte by psect relocation.
        clrf    var             ; 6A00 + 100 + 02 = 6B02
        movwf   var+1,c         ; 6E00 + 03 = 6E03

        psect   ram,class=RAM
        ds      2
var:    ds      2
