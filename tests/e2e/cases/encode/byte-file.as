; Byte-oriented file instructions (f, d, a): the destination and access suffixes in each form,
; the default access choice for access SFRs, banked RAM and relocatable addresses, and a few
; mnemonics of the class (the opcodes are the instruction table's).
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: byte-file.obj
        psect   code,class=CODE,reloc=2
; Destination and access suffixes: d adds 200, a banked access adds 100.
        addwf   0x10,w,b        ; 2400 + 100 + 10 ;= 2510
        addwf   0x10,f,a        ; 2400 + 200 + 10 ;= 2610
        addwf   0x10,c,w        ; access first, then destination ;= 2410
        addwf   0x10            ; destination f by default: 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,c          ; f, access: 2400 + 200 + 10 ;= 2610
        addwf   0x10,0          ; 0 is w: 2400 + 100 + 10 ;= 2510
        addwf   0x10,0,0        ; w, access: 2400 + 10 ;= 2410
        addwf   c:0x10,w        ; the access mark: 2400 + 10 ;= 2410
        addwf   0xF80           ; an access SFR defaults to access: 2400 + 200 + 80 ;= 2680
        addwf   0xF80,w,b       ; an explicit b wins: 2400 + 100 + 80 ;= 2580
        movf    0xF60,w         ; lowest access SFR: 5000 + 60 ;= 5060
        movf    0xFFF,w         ; highest: 5000 + FF ;= 50FF
        movf    0x5F,w          ; access RAM without a suffix is banked: 5000 + 100 + 5F ;= 515F
; Some mnemonics of the class.
        addwfc  0x21,w,c        ; 2000 + 21 ;= 2021
        decfsz  0x27,w,c        ; 2C00 + 27 ;= 2C27
        dcfsnz  0x28,f,b        ; 4C00 + 200 + 100 + 28 ;= 4F28
        infsnz  0x2B,w,c        ; 4800 + 2B ;= 482B
        rlncf   0x2E,f,c        ; 4400 + 200 + 2E ;= 462E
        subfwb  0x33,w,c        ; 5400 + 33 ;= 5433
        swapf   0xFFF           ; 3800 + 200 + FF ;= 3AFF
; A relocatable address is banked unless told otherwise; its low byte is a psect relocation.
        movf    var,w           ; 5000 + 100 + 03 ;= 5103 [+0 psect bytes=1 target="ram"]
        incf    var,f,c         ; 2800 + 200 + 03 ;= 2A03 [+0 psect bytes=1 target="ram"]
        decf    var+1,w         ; 0400 + 100 + 04 ;= 0504 [+0 psect bytes=1 target="ram"]

        psect   ram,class=RAM
        ds      3
var:    ds      2
