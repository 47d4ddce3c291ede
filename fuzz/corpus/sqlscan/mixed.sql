SELECT 'a--b', "c'd" -- e'f
/* x */ :P ? @q $r X'CAFE' [a b] `c`