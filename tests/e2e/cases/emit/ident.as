; The identification with --xident, LISTRELOC when a listing is asked for, and code in the
; absolute default psect.
; RUN: -mcpu=ZEL18A44 -L --xident %s
; RUN zel18dump: ident.obj
; OUT: IDENT len=31 order32=0,1,2,3 order16=0,1 machine="ZEL18A44:ZEL18:ISA=STD" tail=3,11
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x10 size=0x12 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x1 type=16(global) base="" name="isa$std"
; OUT:   value=0x0 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=7 loc=0x10 psect=""
; OUT:   0010: FF D7
; OUT: LISTRELOC len=20 rlf="ident.rlf" lst="ident.lst"
; OUT: END len=2
; RUN: -mcpu=ZEL18X47 --xident --xinst %s
; RUN zel18dump: ident.obj
; OUT: IDENT len=34 order32=0,1,2,3 order16=0,1 machine="ZEL18X47:ZEL18X:ISA=XINST" tail=3,11
; OUT: PSECT len=3 flags=0xD0(global,ovrld,abs) name=""
; OUT: XPSECT len=15 size=0x0 reloc=0x0 space=0 delta=1 psect="" class="" with=""
; OUT: PSECTBOUND len=15 lead=13 flags=0xD0(global,ovrld,abs) base=0x10 size=0x12 space=0 delta=1 psect="" class=""
; OUT: SYM len=32
; OUT:   value=0x0 type=16(global) base="" name="isa$std"
; OUT:   value=0x1 type=16(global) base="" name="isa$xinst"
; OUT: TEXT len=7 loc=0x10 psect=""
; OUT:   0010: FF D7
; OUT: END len=2
        org     0x10
        bra     0x10            ; a constant target in an absolute psect: D7FF
