#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the board's tests: made in DIR, reached by its Unix socket there (no
# TCP port), removed again. Never any cluster the machine already has.
# Usage: postgres.sh start|stop DIR
set -euo pipefail
action=$1 dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
as_postgres() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
case "$action" in
start)
    [ -d "$dir/data" ] && as_postgres "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -ne 0 ] || chown postgres "$dir"
    as_postgres "$bin/initdb" -D "$dir/data" -A trust -U mv --no-sync >"$dir/initdb.log"
    as_postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w \
        -o "-c listen_addresses='' -k $dir -c fsync=off" start >/dev/null
    echo "PostgreSQL up in $dir"
    ;;
stop)
    as_postgres "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    rm -rf "$dir"
    echo "PostgreSQL stopped and removed"
    ;;
esac
