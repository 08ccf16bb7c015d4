; CONFIG directives and their messages: a value given twice (1389), unknown values and names
; (1363), a literal wider than the register (1388), malformed string arguments and switch
; values (1361), a missing value (876). Several pairs in one string apply each: BIG=OFF clashes
; with the register literal before it. A string is classified like a name, so "OSC" alone is a
; setting without its "=". A stray "=" right after a syntax error is not reported again (three
; tokens must be read first).
; RUN: -mcpu=ZEL18A44 --cfgdata=t.cfgdata -A -Od.opt %s
; EXIT: 1
; FILE: t.cfgdata
; | CWORD:300000:0F:05:CFGA
; | CSETTING:3:OSC:Oscillator
; | CVALUE:0:LP:low power
; | CVALUE:2:HS:high speed
; | CSETTING:C:WDT:Watchdog
; | CVALUE:0:OFF:disabled
; | CVALUE:4:ON:enabled
; | CWORD:300001:1FF:1AB:CFGW
; | CSETTING:100:BIG:High bit
; | CVALUE:100:ON:set
; | CVALUE:0:OFF:clear
	config	OSC=HS
	config	OSC=LP		; ERROR 1389
	config	OSC=XT		; ERROR 1363
	config	NOPE=1		; ERROR 1363
	config	CFGW=0x3FF	; WARNING 1388
	config	"OSC"		; ERROR 876
	config	pad_punits=maybe	; ERROR 1361
	config	"WDT=ON, BIG=OFF, pad_punits=on"	; ERROR 1389
	config	"WDT="		; ERROR 1361
	config	OSC=		; ERROR 876
	config	=HS
