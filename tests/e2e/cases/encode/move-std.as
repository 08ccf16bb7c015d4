; On a device without the extended-address bit MOVFF always takes the short form, C000 + s and
; F000 + d in twelve bits each, relocatable addresses by psect relocations.
; RUN: -mcpu=ZEL18A44 -V %s
; WORDS: move-std.obj
        psect   code,class=CODE,reloc=2
        movff   0x10,0x20       ; C000 + 10, F000 + 20 ;= C010 F020
        movff   0xF80,0xFE8     ; C000 + F80, F000 + FE8 ;= CF80 FFE8
        movff   x,y             ; C000 + 1, F000 + 2, both in ram
                                ;= C001 F002 [+0 psect bits=12 target="ram"] [+2 psect bits=12 target="ram"]

        psect   ram,class=RAM,space=1
        ds      1
x:      ds      1
y:      ds      1
