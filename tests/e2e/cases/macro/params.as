; Parameters: "@n" stands for argument n + 1 and raises the number of arguments read; names are
; replaced only where they stand alone and in the same case; "@" forms inside a nested
; definition belong to it.
; RUN: -mcpu=ZEL18A44 -A -Ostmts.opt --kvdebug=stmts %s
at      macro
        messg   '@0/@1/@2/@@3/@'
        endm
        at      a,b,c,d
        at      a
mix     macro   x,y
        messg   '@0 @1 x y @2'
        endm
        mix     1,2,3
ten     macro
        db      @9,@0
        endm
        ten     0,1,2,3,4,5,6,7,8,9,10
words   macro   a,a1
        messg   'a A ab a1 a_1 $a'
        endm
        words   1,2
outer   macro
mk      macro
        messg   '@0-@1'
        endm
        endm
        outer   x
        mk      p,q
; OUT: psect ""
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="a/b/c/d/"
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="a////"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="1 2 1 2 3"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   DATA sub=1 dest=- acc=- flags=81 data=9,0
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="1 A ab 2 a_1 $a"
; OUT:   ENDM sub=0 dest=- acc=- flags=1
; OUT:   ENDM sub=0 dest=- acc=- flags=81
; OUT:   MESSG sub=0 dest=- acc=- flags=81 text="p-q"
; OUT: order: ""
