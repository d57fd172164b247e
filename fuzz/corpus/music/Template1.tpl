RUZOV-TEMPLATE 1
# 48 bars, about 72 seconds at 160 beats per minute; the last bar's fill
# runs straight back into bar 1, so the loop has no seam.

bars 48
meter 4/4
rhythm 4                      # a chord a bar between the signposts

#       name       first last
section intro      1     4
section verse      5     20
section chorus     21    36
section breakdown  37    40
section drive      41    48

#      first last level
groove 1     4    2
groove 5     12   2
groove 13    20   3
groove 21    28   3
groove 29    36   4
groove 37    40   1
groove 41    48   4

intro 1
fill  12
fill  20
fill  28
fill  36
break 40
fill  48

signpost 1  home
signpost 5  home
signpost 13 lift
signpost 21 dark
signpost 29 lift
signpost 37 home
signpost 41 home

cadence 47
