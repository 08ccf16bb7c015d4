; An argument of a command file holds 2048 characters; each further one is error 917,
; and the error limit ends the run at the twenty-first.
; FILE: cmd.txt
; | -mcpu=zel18a44 %rep(5000,a)
; RUN: @cmd.txt
; EXIT: 1
; ERR: %lines(20,0: (917) argument too long)
; ERR: 0: too many errors (21)
; A process argument has no such limit: a 5000-character source name is simply not found.
; The message text is cut at 511 characters.
; RUN: -mcpu=zel18a44 -Oshort.obj %rep(5000,b)
; EXIT: 1
; ERR: (command line): 0: (140) can't open  file "%rep(487,b)
; EXISTS: short.obj
; A command file of 100,000 arguments.
; FILE: many.txt
; | -mcpu=zel18a44 %rep(100000,-X ) %s
; RUN: @many.txt
; EXISTS: long-arguments.obj
