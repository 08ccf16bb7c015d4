; Byte-oriented file instructions (f, d, a): every destination and access suffix, the default
; access choice for access SFRs, banked RAM and relocatable addresses, every mnemonic once.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: byte-file.obj
        psect   code,class=CODE,reloc=2
; Destination and access suffixes: d adds 200, a banked access adds 100.
        addwf   0x10,w,b        ; 2400 + 100 + 10 ;= 2510
        addwf   0x10,f,b        ; 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,w,c        ; 2400 + 10 ;= 2410
        addwf   0x10,f,a        ; 2400 + 200 + 10 ;= 2610
        addwf   0x10,c,w        ; access first, then destination ;= 2410
        addwf   0x10,b,f        ; 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,w          ; banked RAM defaults to banked: 2400 + 100 + 10 ;= 2510
        addwf   0x10            ; destination f by default: 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,b          ; f, banked: 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,c          ; f, access: 2400 + 200 + 10 ;= 2610
        addwf   0x10,0          ; 0 is w: 2400 + 100 + 10 ;= 2510
        addwf   0x10,1          ; 1 is f: 2400 + 200 + 100 + 10 ;= 2710
        addwf   0x10,0,0        ; w, access: 2400 + 10 ;= 2410
        addwf   0x10,1,1        ; f, banked: 2400 + 200 + 100 + 10 ;= 2710
        addwf   c:0x10,w        ; the access mark: 2400 + 10 ;= 2410
        addwf   c:0x10          ; 2400 + 200 + 10 ;= 2610
        addwf   0xF80           ; an access SFR defaults to access: 2400 + 200 + 80 ;= 2680
        addwf   0xF80,w         ; 2400 + 80 ;= 2480
        addwf   0xF80,w,b       ; an explicit b wins: 2400 + 100 + 80 ;= 2580
        movf    0xF60,w         ; lowest access SFR: 5000 + 60 ;= 5060
        movf    0xFFF,w         ; highest: 5000 + FF ;= 50FF
        movf    0x5F,w          ; access RAM without a suffix is banked: 5000 + 100 + 5F ;= 515F
; Every mnemonic of the class once.
        addwfc  0x21,w,c        ; 2000 + 21 ;= 2021
        andwf   0x22,f,b        ; 1400 + 200 + 100 + 22 ;= 1722
        iorwf   0x23,w,b        ; 1000 + 100 + 23 ;= 1123
        xorwf   0x24,f,c        ; 1800 + 200 + 24 ;= 1A24
        comf    0x25,w,c        ; 1C00 + 25 ;= 1C25
        decf    0x26,f,b        ; 0400 + 200 + 100 + 26 ;= 0726
        decfsz  0x27,w,c        ; 2C00 + 27 ;= 2C27
        dcfsnz  0x28,f,b        ; 4C00 + 200 + 100 + 28 ;= 4F28
        incf    0x29,w,b        ; 2800 + 100 + 29 ;= 2929
        incfsz  0x2A,f,c        ; 3C00 + 200 + 2A ;= 3E2A
        infsnz  0x2B,w,c        ; 4800 + 2B ;= 482B
        movf    0x2C,f,b        ; 5000 + 200 + 100 + 2C ;= 532C
        rlcf    0x2D,w,b        ; 3400 + 100 + 2D ;= 352D
        rlncf   0x2E,f,c        ; 4400 + 200 + 2E ;= 462E
        rrcf    0x2F,w,c        ; 3000 + 2F ;= 302F
        rrncf   0x30,f,b        ; 4000 + 200 + 100 + 30 ;= 4330
        subwf   0x31,w,b        ; 5C00 + 100 + 31 ;= 5D31
        subwfb  0x32,f,c        ; 5800 + 200 + 32 ;= 5A32
        subfwb  0x33,w,c        ; 5400 + 33 ;= 5433
        swapf   0x34,f,b        ; 3800 + 200 + 100 + 34 ;= 3B34
        swapf   0xFFF           ; 3800 + 200 + FF ;= 3AFF
; A relocatable address is banked unless told otherwise; its low byte is a psect relocation.
        movf    var,w           ; 5000 + 100 + 03 ;= 5103 [+0 psect bytes=1 target="ram"]
        incf    var,f,c         ; 2800 + 200 + 03 ;= 2A03 [+0 psect bytes=1 target="ram"]
        decf    var+1,w         ; 0400 + 100 + 04 ;= 0504 [+0 psect bytes=1 target="ram"]

        psect   ram,class=RAM
        ds      3
var:    ds      2
