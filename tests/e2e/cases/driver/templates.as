; Template mode takes the layouts from the environment; %c stays empty since no column is set.
; RUN: -E -mcpu=ZEL18A44 -T %s
; ENV: NTX_ERR_FORMAT=<%f|%l|%c|%n|%a> %s%
; EXIT: 1
; ERR: <|0||834|assembler> page width must be >= 60
; Without -E the environment does not matter.
; RUN: -mcpu=ZEL18A44 -T %s
; ENV: NTX_ERR_FORMAT=<%f|%l|%c|%n|%a> %s%
; EXIT: 1
; ERR: 0: (834) page width must be >= 60
; A single digit is a mode, not a file name: any but 0 selects the templates.
; RUN: -E7 -mcpu=ZEL18A44 -T %s
; ENV: NTX_ERR_FORMAT=<%n>
; EXIT: 1
; ERR: <834>
; -E0 switches template mode off again.
; RUN: -E -E0 -mcpu=ZEL18A44 -T %s
; ENV: NTX_ERR_FORMAT=<%n>
; EXIT: 1
; ERR: 0: (834) page width must be >= 60
; -E<file> appends the messages to that file, in template mode.
; RUN: -Eerrs.txt -mcpu=ZEL18A44 -T %s
; EXIT: 1
; OUTFILE: errs.txt
; | : 0: (834) page width must be >= 60 (error)
; RUN: -E/no-such-dir/errs.txt -mcpu=ZEL18A44 %s
; EXIT: 1
; ERR: 0: (461) can't create error file "/no-such-dir/errs.txt"
; ERR: /no-such-dir/errs.txt: No such file or directory
