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
                              in memory; changes are not kept), or a
                              PostgreSQL server: "postgresql://..." or a
                              libpq connection string ("host=... dbname=...")
      --init FILE           write the sample database to the new FILE (or
                              into a server without its tables) and exit
      --text MODE           how the database keeps its texts: encoded (as the
                              library writes them: "Drive%20gear") or plain
                              (as they are); default: encoded for the sample
                              and files written by --init, plain otherwise
                              (a server's default too)
      --readonly            open the database without write access
      --timeout MS          wait up to MS milliseconds for a database another
                              process has locked, or a lock on a server
                              (default 5000; 0 fails at once when the lock
                              is held); on a server it also bounds
                              connecting (default 10 s, at least 2 s;
                              connect_timeout in the string wins)
      --failover-timeout MS on a server whose connection is lost, try its
                              hosts again for up to MS milliseconds in all
                              (default 30000; 0: one round), so that a
                              standby promoted meanwhile is found
      --read-standby        on a server with standbys, run reading
                              statements on a standby and writing ones on
                              the primary (as target_session_attrs=
                              prefer-standby in the string does); a read
                              after a write waits up to 1 s for the standby
                              to replay it, else reads on the primary

Parameters:
      --int NAME VALUE      an integer
      --double NAME VALUE   a double, written with six significant digits: a
                              VALUE that needs more is refused (write it in
                              the statement)
      --string NAME VALUE   a text, written quoted ('...')
      --string-file NAME FILE
                            a text: the whole contents of FILE
      --object NAME CLASS KEY
                            the object of table CLASS with that key; its key
                              is written as it is (quote the name: ':P')
      --int-list NAMES VALUES
      --double-list NAMES VALUES
      --string-list NAMES VALUES
      --object-list NAMES CLASS KEYS
      --string-list-file NAMES FILE
                            lists: NAMES and VALUES are split on "," ("\,"
                              is a comma, "\\" a backslash); each item
                              replaces its own name; a list file has one
                              item a line
      --cond WORD           after a list option: give one NAME, and the list
                              becomes " ( NAME v1 WORD NAME v2 ... ) "; WORD
                              is letters, digits and "_", or one of | ! %

Outputs (without any, every column of the answer is printed):
      --out TYPE CLASS ATTR print column ATTR, read for class CLASS, as TYPE:
                              int, double, string, object (its key) or
                              objects (a "+"-separated key list)

Output:
      --format FORMAT       table (default), csv, json (one array) or jsonl
                              (one object a line); the table shows control
                              characters escaped (\n, \x1b...); JSON keys
                              are unique (a repeated name gets :1, :2...),
                              integers numbers at every width, a server's
                              truth values true and false
      --null TEXT           print null as TEXT in table and csv output
                              (default: nothing)
      --no-header           print no column names in table and csv output
      --explain             print the finished statement and the columns;
                              run nothing
  -h, --help                display this help and exit
      --version             output version information and exit

Exit status:
  0  success
  1  the statement failed (the database's message is printed)
  2  a usage error
  3  the database could not be reached, or the connection was lost with
     nothing applied
  4  retryable (a serialization failure or deadlock): run it again
  5  the outcome of a commit is unknown: it may or may not be applied
On failure one line goes to standard error and nothing to standard output.
After a writing statement the number of changed rows goes to standard error.
)";
}
