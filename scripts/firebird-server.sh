#!/usr/bin/env bash
# Starts or stops a Firebird server on 127.0.0.1 for the tests that need a real server.
#   firebird-server.sh start   -> prints nothing; the pid is kept in $STATE/firebird.pid
#   firebird-server.sh stop
# The server reads a private configuration root (UDF access for ib_udf) and never touches /etc.
set -euo pipefail
state="${QUINTARIS_SERVER_STATE:-/var/tmp/quintaris-fbserver}"
password="${QUINTARIS_SERVER_PASSWORD:-quillbrex}"
pidfile="$state/firebird.pid"
libdir=/usr/lib/x86_64-linux-gnu/firebird/3.0

start() {
    mkdir -p "$state/root/intl" "$state/data"
    cat > "$state/root/firebird.conf" <<CONF
UdfAccess = Restrict UDF
RemoteBindAddress = 127.0.0.1
CONF
    ln -sfn "$libdir/UDF" "$state/root/UDF"
    cp -f "$libdir/intl/libfbintl.so" "$state/root/intl/libfbintl.so"
    cp -f "$libdir/intl/fbintl.conf" "$state/root/intl/fbintl.conf" 2>/dev/null || true
    chown -R firebird:firebird "$state"
    chmod 0770 "$state/data"
    mkdir -p /tmp/firebird && chown firebird:firebird /tmp/firebird && chmod 0770 /tmp/firebird

    # The administrator password can only be set through the security database while no server runs.
    echo "create or alter user SYSDBA password '$password' using plugin Srp; commit;" |
        isql-fb -q -user SYSDBA /var/lib/firebird/3.0/system/security3.fdb >/dev/null

    FIREBIRD="$state/root" start-stop-daemon --start --background --make-pidfile --pidfile "$pidfile" \
        --chuid firebird:firebird --exec /usr/sbin/firebird
    for _ in $(seq 1 50); do
        if fbsvcmgr 127.0.0.1:service_mgr -user SYSDBA -password "$password" -info_server_version >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.2
    done
    echo "O servidor Firebird não respondeu em 10 segundos." >&2
    return 1
}

stop() {
    [ -f "$pidfile" ] || return 0
    pid="$(cat "$pidfile")"
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || { rm -f "$pidfile"; return 0; }
        sleep 0.2
    done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$pidfile"
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    *) echo "uso: $0 start|stop" >&2; exit 2 ;;
esac
