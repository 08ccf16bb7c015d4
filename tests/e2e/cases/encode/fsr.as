; FSR instructions: LFSR with the split of k on extended-address and standard devices, ADDFSR
; and SUBFSR with the FSR numbers and the largest k. On a standard device ADDFSR and SUBFSR
; are accepted in extended-instruction-set mode.
; RUN: -mcpu=ZEL18X47 -V %s
; WORDS: fsr.obj
; RUN: -mcpu=ZEL18A44 --xinst -V %s
; WORDS std: fsr.obj
        psect   code,class=CODE,reloc=2
; LFSR: the FSR number times 10 and the high bits of k, then the low bits. Standard devices take
; k bits 11-8 and 7-0 (";=std"); extended-address devices bits 13-10 and 9-0.
        lfsr    0,0x123         ; EE00 + 0, F000 + 123; standard EE00 + 1, F000 + 23
                                ;= EE00 F123 ;=std EE01 F023
        lfsr    1,0xF80         ; EE00 + 10 + 3, F000 + 380; standard EE00 + 10 + F, F000 + 80
                                ;= EE13 F380 ;=std EE1F F080
        lfsr    2,0x3FFF        ; EE00 + 20 + F, F000 + 3FF; standard EE00 + 20 + F, F000 + FF
                                ;= EE2F F3FF ;=std EE2F F0FF
        lfsr    3,0             ; EE00 + 30, F000 + 0 on both ;= EE30 F000
; ADDFSR and SUBFSR: the FSR number times 40 and a six-bit k.
        addfsr  0,1             ; E800 + 0 + 1 ;= E801
        addfsr  2,63            ; E800 + 80 + 3F ;= E8BF
        addfsr  3,2             ; E800 + C0 + 2 ;= E8C2
        subfsr  1,0x20          ; E900 + 40 + 20 ;= E960
