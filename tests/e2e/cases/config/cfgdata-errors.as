; Faults of a configuration data file, each at its own line of the file: a line that is no
; record (2119), and CMSG records naming a setting (2120) or a value (2121) that the file has
; not defined. The rest of the file is still read: OSC=LP is programmed.
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Oo.opt %s
; EXIT: 1
; ERR: t.cfgdata: 4: (2121) CMSG record references undefined CVALUE (HS)
; ERR: t.cfgdata: 5: (2120) CMSG record references undefined CSETTING (CLK)
; ERR: t.cfgdata: 6: (2119) syntax error in configuration data file
; FILE: t.cfgdata
; | CWORD:300000:0F:05:CFGA
; | CSETTING:3:OSC:Oscillator
; | CVALUE:0:LP:low power
; | CMSG:OSC=HS:2066
; | CMSG:CLK=LP:2066
; | BOGUS
; | CVALUE:2:XT:crystal
	config	OSC=XT
