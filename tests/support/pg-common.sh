# shellcheck shell=bash
# Shell functions the test fixtures' PostgreSQL scripts share; sourced by
# a script that has set -euo pipefail and defined die().

# The directory of the PostgreSQL server binaries: NUV_PG_BINDIR, else the
# newest /usr/lib/postgresql/*/bin, else the one initdb is found in.
bindir() {
  local dir
  for dir in ${NUV_PG_BINDIR:-} $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ] && { echo "$dir"; return; }
  done
  command -v initdb >/dev/null && dirname "$(command -v initdb)" && return
  die "no PostgreSQL server binaries (initdb, pg_ctl) found: install Debian's postgresql package or set NUV_PG_BINDIR"
}

# The user the server runs as when this is root: NUV_PG_USER, else
# postgres where there is one, else nobody.
server_user() {
  if [ -n "${NUV_PG_USER:-}" ]; then echo "$NUV_PG_USER"; return; fi
  if id postgres >/dev/null 2>&1; then echo postgres; else echo nobody; fi
}

# Runs a command as the unprivileged server user when this is root.
as_server() {
  if [ "$(id -u)" != 0 ]; then "$@"; return; fi
  local user
  user=$(server_user)
  setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups -- "$@"
}

# A fresh directory under /tmp (never in the build tree, whose parents the
# server user may not be allowed to enter) that the server user owns.
server_dir() {
  local dir
  dir=$(mktemp -d "/tmp/$1-XXXXXX")
  [ "$(id -u)" = 0 ] && chown "$(server_user)" "$dir"
  chmod 700 "$dir"
  echo "$dir"
}

# A loopback port nothing listens on.
free_port() {
  local port tries=0
  while [ $tries -lt 200 ]; do
    port=$(( 20000 + (RANDOM * 32768 + RANDOM) % 40000 ))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; return; fi
    tries=$((tries + 1))
  done
  die "no free loopback port found"
}

# initdb into DIR/cluster: the superuser nuvtest, every connection trusted,
# UTF8 texts in the C.UTF-8 locale; LOG receives initdb's output.
init_cluster() {
  local bin=$1 dir=$2 log=$3
  as_server "$bin/initdb" -D "$dir/cluster" -U nuvtest --auth=trust -E UTF8 --locale=C.UTF-8 >"$log" 2>&1 ||
    { cat "$log" >&2; die "initdb failed"; }
}

# Starts the cluster in DIR/cluster, listening on a Unix socket in DIR and
# on 127.0.0.1:PORT, its log in DIR/server.log.
launch() {
  local bin=$1 dir=$2 port=$3
  as_server "$bin/pg_ctl" -D "$dir/cluster" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p $port -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=40" start >/dev/null ||
    { cat "$dir/server.log" >&2; die "the server in $dir did not start"; }
}

# Stops the cluster in DIR/cluster at once, if it runs; never fails.
halt() {
  local bin=$1 dir=$2
  [ -d "$dir/cluster" ] || return 0
  as_server "$bin/pg_ctl" -D "$dir/cluster" -m immediate -w stop >/dev/null 2>&1 || true
}
