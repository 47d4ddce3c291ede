SELECT $$it's -- x$$, $a$ $$ $a$, E'it\'s', e'a\\', 'b\' -- c
/* a /* b */ c */ "q""n" U&"d!0061t" B'101' X'1F' N'n'