; Extended instruction set on an extended-address device: the bracketed indexed forms of the
; byte, single-operand and bit classes, ADDULNK, SUBULNK, PUSHL and CALLW.
; RUN: -mcpu=ZEL18X47 --xinst -V %s
; WORDS: extended.obj
        psect   code,class=CODE,reloc=2
; Indexed operands in brackets: access, the offset as the address, destination f unless w or 0.
        addwf   [3],w           ; 2400 + 3 ;= 2403
        addwf   [3],f           ; 2400 + 200 + 3 ;= 2603
        incf    [5]             ; 2800 + 200 + 5 ;= 2A05
        subwf   [0x5F]          ; the highest offset: 5C00 + 200 + 5F ;= 5E5F
        movwf   [4]             ; 6E00 + 4 ;= 6E04
        cpfseq  [2]             ; 6200 + 2 ;= 6202
        bcf     [2],3           ; 9000 + 600 + 2 ;= 9602
        btfss   [7],7           ; A000 + E00 + 7 ;= AE07
; Plain addresses keep their usual access choice.
        movwf   0x20            ; 6E00 + 100 + 20 ;= 6F20
        movwf   0x3F80          ; an access SFR: 6E00 + 80 ;= 6E80
; The instructions of the extended set without a file operand.
        addulnk 63              ; E8C0 + 3F ;= E8FF
        subulnk 0               ;= E9C0
        pushl   0xFF            ; EA00 + FF ;= EAFF
        callw                   ;= 0014
