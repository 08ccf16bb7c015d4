; A macro takes 127 parameters and 127 LOCAL names: a further parameter is an error of the
; definition line and a further LOCAL name one of its LOCAL line, and both stay plain names;
; the LOCAL names of later expansions are numbered on. A definition begun by text that an
; expansion substitutes reads on past the end of that expansion into the lines after the call.
; RUN: -mcpu=ZEL18A44 -V %s
; EXIT: 1
; ERR: limits.as: 14: (2108) more than 127 macro parameters
; ERR: limits.as: 19: (2109) more than 127 LOCAL names
; ERR: limits.as: 17: 0|126|p127
; ERR: limits.as: 22: ??0000|??0126|l127
; ERR: limits.as: 23: ??0127|??0253|l127
; ERR: limits.as: 33: 5
; WORDS: limits.obj
many    macro   p0,p1,p2,p3,p4,p5,p6,p7,p8,p9,p10,p11,p12,p13,p14,p15,p16,p17,p18,p19,p20,p21,p22,p23,p24,p25,p26,p27,p28,p29,p30,p31,p32,p33,p34,p35,p36,p37,p38,p39,p40,p41,p42,p43,p44,p45,p46,p47,p48,p49,p50,p51,p52,p53,p54,p55,p56,p57,p58,p59,p60,p61,p62,p63,p64,p65,p66,p67,p68,p69,p70,p71,p72,p73,p74,p75,p76,p77,p78,p79,p80,p81,p82,p83,p84,p85,p86,p87,p88,p89,p90,p91,p92,p93,p94,p95,p96,p97,p98,p99,p100,p101,p102,p103,p104,p105,p106,p107,p108,p109,p110,p111,p112,p113,p114,p115,p116,p117,p118,p119,p120,p121,p122,p123,p124,p125,p126,p127,p128,p129
        messg   'p0|p126|p127'
        endm
        many    0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,59,60,61,62,63,64,65,66,67,68,69,70,71,72,73,74,75,76,77,78,79,80,81,82,83,84,85,86,87,88,89,90,91,92,93,94,95,96,97,98,99,100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,120,121,122,123,124,125,126,127,128,129
names   macro
        local   l0,l1,l2,l3,l4,l5,l6,l7,l8,l9,l10,l11,l12,l13,l14,l15,l16,l17,l18,l19,l20,l21,l22,l23,l24,l25,l26,l27,l28,l29,l30,l31,l32,l33,l34,l35,l36,l37,l38,l39,l40,l41,l42,l43,l44,l45,l46,l47,l48,l49,l50,l51,l52,l53,l54,l55,l56,l57,l58,l59,l60,l61,l62,l63,l64,l65,l66,l67,l68,l69,l70,l71,l72,l73,l74,l75,l76,l77,l78,l79,l80,l81,l82,l83,l84,l85,l86,l87,l88,l89,l90,l91,l92,l93,l94,l95,l96,l97,l98,l99,l100,l101,l102,l103,l104,l105,l106,l107,l108,l109,l110,l111,l112,l113,l114,l115,l116,l117,l118,l119,l120,l121,l122,l123,l124,l125,l126,l127,l128,l129
        messg   'l0|l126|l127'
        endm
        names
        names
outer   macro   a
        a
        endm
        outer   <rept 2>
        nop
        endm                    ;= F000 F000
        outer   <inner macro x>
        messg   'x'
        endm
        inner   5
