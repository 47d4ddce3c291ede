#include "Usage.h"

const char* UsageText() {
  return R"(usage: edbquery [OPTION...] STATEMENT
       edbquery [OPTION...] -f FILE
       edbquery [OPTION...] -             (the statement from standard input)
       edbquery --init FILE

Runs one SQL statement with named parameters on an engineering database and
prints its rows. Each option takes its operands as separate arguments, so a
parameter name may be any text (":ID", "P.MATERIAL=", ...): every occurrence
of the name in the statement is replaced by the value, parameters in the
order given. "--" makes every later argument the statement.

Database:
  --db FILE                 the database file (default: the built-in sample,
                            in memory, changes are not kept)
  --init FILE               write the sample database to the new FILE, exit

Parameters:
  --int NAME VALUE          an integer
  --double NAME VALUE       a double
  --string NAME VALUE       a text, written quoted ('...')
  --object NAME CLASS KEY   the object of table CLASS with that key; its key
                            is written as it is (quote the name: ':P')
  --int-list NAMES VALUES   lists: NAMES and VALUES are split on "," ("\,"
  --double-list NAMES VALUES       is a comma, "\\" a backslash); each item
  --string-list NAMES VALUES       replaces its own name
  --object-list NAMES CLASS KEYS
  --cond WORD               after a list option: give one NAME, and the list
                            becomes " ( NAME v1 WORD NAME v2 ... ) ",
                            e.g. --string-list "P.MATERIAL=" "Steel,FKM" --cond OR

Outputs (without any, every column of the answer is printed):
  --out TYPE CLASS ATTR     print column ATTR, read for class CLASS, as TYPE:
                            int, double, string, object (its key) or objects
                            (the keys of a "+"-separated key list, joined by "+")

Output:
  --format table|csv|json   aligned table (default), CSV, or JSON lines
  --explain                 print the finished statement and the columns,
                            run nothing
  --help, -h                print this text
  --version                 print the version

Null values print empty (null in JSON). Exit status: 0 success, 1 a
database error, 2 a usage error; on failure one line goes to standard error
and nothing to standard output.
)";
}
