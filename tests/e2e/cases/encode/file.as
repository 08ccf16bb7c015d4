; Single-operand file instructions (f, a): the access suffixes in word and number form, the access mark, the default access for access SFRs, banked RAM and relocatable addresses.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: file.obj
        psect   code,class=CODE,reloc=2
        mulwf   0x40            ; banked RAM is banked: 0200 + 100 + 40 ;= 0340
        mulwf   0x40,c          ; 0200 + 40 ;= 0240
        mulwf   0xF8A           ; an access SFR is accessed: 0200 + 8A ;= 028A
        cpfseq  0x41,b          ; 6200 + 100 + 41 ;= 6341
        cpfsgt  0x42,a          ; 6400 + 42 ;= 6442
        cpfslt  0x43,0          ; 0 is access: 6000 + 43 ;= 6043
        tstfsz  0x44,1          ; 1 is banked: 6600 + 100 + 44 ;= 6744
        movwf   0xF93,b         ; 6E00 + 100 + 93 ;= 6F93
        movwf   c:0x46          ; 6E00 + 46 ;= 6E46
        negf    0xFE8           ; 6C00 + E8 ;= 6CE8
        clrf    0xFF3           ; the same word as clrw: 6A00 + F3 ;= 6AF3
; Relocatable addresses: banked by default, the low byte by psect relocation.
        clrf    var             ; 6A00 + 100 + 02 ;= 6B02 [+0 psect bytes=1 target="ram"]
        movwf   var+1,c         ; 6E00 + 03 ;= 6E03 [+0 psect bytes=1 target="ram"]

        psect   ram,class=RAM
        ds      2
var:    ds      2
