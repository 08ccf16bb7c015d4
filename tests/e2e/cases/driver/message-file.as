; A message file replaces texts; malformed lines are reported as message 3 and skipped;
; hostile format texts print safely.
; FILE: msgs.txt
; | # my messages
; | 834 E breite %%s%%s%%n%%x%%99999d%%d ok
; | not a message
; | 835 E
; RUN: -mcpu=zel18a44 --edf=msgs.txt -T -F3 %s
; EXIT: 1
; ERR: 0: Malformed error information on line 3, in file msgs.txt
; ERR: 0: Malformed error information on line 4, in file msgs.txt
; ERR: 0: (834) breite  ok
; ERR: 0: (835) form length must be >= 15
; RUN: -mcpu=zel18a44 --edf=nofile.txt %s
; ERR: Could not open error description file nofile.txt
