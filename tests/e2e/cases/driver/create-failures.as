; Files that cannot be created: the system's text and the numbered error; the run goes on.
; The messages carry the last source file, and its last line until the line counters are reset.
; RUN: -mcpu=zel18a44 -Onodir/x.obj %s
; EXIT: 1
; ERR: nodir/x.obj: No such file or directory
; ERR: create-failures.as: 0: (1222) can't create object file nodir/x.obj
; RUN: -mcpu=zel18a44 -Lnodir/x.lst %s
; EXIT: 1
; ERR: nodir/x.lst: No such file or directory
; ERR: create-failures.as: 24: (1219) can't create list file nodir/x.lst
; ERR: nodir/x.rlf: No such file or directory
; ERR: create-failures.as: 0: (1221) can't create relocatable list file nodir/x.rlf
; EXISTS: create-failures.obj
; RUN: -mcpu=zel18a44 -A -Onodir/x.opt %s
; EXIT: 1
; ERR: create-failures.as: 0: (1220) can't create assembler file nodir/x.opt
; ERR: nodir/x.opt: No such file or directory
; RUN: -mcpu=zel18a44 -C nodir/src.as
; EXIT: 1
; ERR: nodir/src.crf: No such file or directory
; ERR: 0: (461) can't create cross reference file "nodir/src.crf"
; ERR: (command line): 0: (140) can't open  file "nodir/src.as": No such file or directory
; ERR: nodir/src.obj: No such file or directory
; ERR: (command line): 0: (1222) can't create object file nodir/src.obj
