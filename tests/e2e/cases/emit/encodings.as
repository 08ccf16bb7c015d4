; Instruction words of the standard set on a ZEL18A44, each worked out from its format; the
; long call and jump to a label of the same psect leave the address to the linker.
; RUN: -mcpu=ZEL18A44 %s
; RUN zel18dump: encodings.obj
; OUT: IDENT len=17 order32=0,1,2,3 order16=0,1 machine="ZEL18A44" tail=3,11
; OUT: PSECT len=7 flags=0x10(global) name="code"
; OUT: XPSECT len=23 size=0x0 reloc=0x2 space=0 delta=1 psect="code" class="CODE" with=""
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x0 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=83 loc=0x0 psect="code"
; OUT:   0000: 10 25 80 26 20 51 8A 6E 8A 86 30 AF 55 0E 41 0C
; OUT:   0010: FF 0F 05 01 21 EE 23 F0 10 C0 20 F0 09 00 13 00
; OUT:   0020: 11 00 00 F0 F3 6A 00 D0 03 01 45 01 07 00 05 00
; OUT:   0030: 40 2F 41 39 42 62 01 02 61 62 34 12 01 D8 FF D7
; OUT:   0040: 12 00 00 ED 00 F0 00 EF 00 F0
; OUT: RELOC len=100
; OUT:   offset=0x42 type=0x31 complex bytes=1 expr=((0x40 + code) >> 0x1) & 0xFF
; OUT:   offset=0x44 type=0xFC complex bits=12 expr=(0x40 + code) >> 0x9
; OUT:   offset=0x46 type=0x31 complex bytes=1 expr=((0x40 + code) >> 0x1) & 0xFF
; OUT:   offset=0x48 type=0xFC complex bits=12 expr=(0x40 + code) >> 0x9
; OUT: END len=2
        psect   code,class=CODE,reloc=2
        addwf   0x10,w,b        ; 0010 01da: 2400 + 100 + 10 = 2510
        addwf   0xF80,f,c       ; 2400 + 200 + 80 = 2680
        movf    0x20,w          ; banked RAM is banked: 5000 + 100 + 20 = 5120
        movwf   0xF8A           ; an access SFR is accessed: 6E8A
        bsf     0xF8A,3,c       ; 8000 + 3 * 200 + 8A = 868A
        btfss   0x30,7,b        ; A000 + 100 + E00 + 30 = AF30
        movlw   0x55            ; 0E55
        retlw   'A'             ; 0C41
        addlw   -1              ; 0FFF
        movlb   5               ; 0105
        lfsr    2,0x123         ; EE00 + 20 + 1 = EE21, F000 + 23 = F023
        movff   0x10,0x20       ; C010 F020
        tblrd*+                 ; 0009
        return  1               ; 0013
        retfie  f               ; 0011
        nop                     ; F000
        clrw                    ; 6AF3
        nop2                    ; D000: a branch to the next word
        banksel 0x345           ; 0100 + 3
        setcnt  5               ; 0145
        daw                     ; 0007
        push                    ; 0005
        decfsz  0x40,f,b        ; 2C00 + 200 + 100 + 40 = 2F40
        swapf   0x41,w,b        ; 3941
        cpfseq  0x42,c          ; 6242
        db      1,2,"ab"        ; 01 02 61 62
        dw      0x1234          ; 34 12
        call    sub             ; near: RCALL +1 = D801
        bra     $               ; D7FF
sub:    return                  ; 0012
        call    sub,1           ; fast: ED00 F000, the address by relocation
        goto    sub             ; without -O the long form: EF00 F000
