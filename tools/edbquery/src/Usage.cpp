#include "Usage.h"

const char* UsageText() {
  return R"(Usage: edbquery [OPTION]... STATEMENT
  or:  edbquery [OPTION]... -f FILE
  or:  edbquery [OPTION]... -
  or:  edbquery --init FILE
Run one SQL statement with named parameters on an engineering database and
print its rows. The statement is the one argument that is not an option, the
contents of FILE, or standard input ("-").

Each option takes its operands as separate arguments, so a parameter name may
be any text (":ID", "P.MATERIAL=", ...); every occurrence of the name in the
statement is replaced by the value, parameters in the order given. An option
with one operand also takes it as --option=VALUE. "--" makes the next
argument the statement.

Database:
      --db FILE             the database file (default: the built-in sample,
                              in memory; changes are not kept)
      --init FILE           write the sample database to the new FILE and exit
      --text MODE           how the database keeps its texts: encoded (as the
                              library writes them: "Drive%20gear") or plain
                              (as they are); default: encoded for the sample
                              and files written by --init, plain otherwise

Parameters:
      --int NAME VALUE      an integer
      --double NAME VALUE   a double
      --string NAME VALUE   a text, written quoted ('...')
      --object NAME CLASS KEY
                            the object of table CLASS with that key; its key
                              is written as it is (quote the name: ':P')
      --int-list NAMES VALUES
      --double-list NAMES VALUES
      --string-list NAMES VALUES
      --object-list NAMES CLASS KEYS
                            lists: NAMES and VALUES are split on "," ("\,"
                              is a comma, "\\" a backslash); each item
                              replaces its own name
      --cond WORD           after a list option: give one NAME, and the list
                              becomes " ( NAME v1 WORD NAME v2 ... ) "; WORD
                              is letters, digits and "_", or one of | ! %

Outputs (without any, every column of the answer is printed):
      --out TYPE CLASS ATTR print column ATTR, read for class CLASS, as TYPE:
                              int, double, string, object (its key) or
                              objects (a "+"-separated key list)

Output:
      --format FORMAT       table (default), csv or json
      --explain             print the finished statement and the columns;
                              run nothing
  -h, --help                display this help and exit
      --version             output version information and exit

Exit status:
  0  success
  1  a database error (the database's message is printed)
  2  a usage error
On failure one line goes to standard error and nothing to standard output.
)";
}
