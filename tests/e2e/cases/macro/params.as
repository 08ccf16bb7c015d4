; Parameters: "@n" stands for argument n + 1 and raises the number of arguments read; names are
; replaced only where they stand alone and in the same case; "@" forms inside a nested
; definition belong to it.
; RUN: -mcpu=ZEL18A44 -V %s
; ERR: params.as: 14: a/b/c/d/
; ERR: params.as: 15: a////
; ERR: params.as: 19: 1 2 1 2 3
; ERR: params.as: 27: 1 A ab 2 a_1 $a
; ERR: params.as: 34: p-q
; WORDS: params.obj
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
        ten     0,1,2,3,4,5,6,7,8,9,10  ;= 09 00
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
