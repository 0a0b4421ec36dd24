#!/usr/bin/env bash
# Installs what is missing, builds, prepares the local database (once) and starts the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${QUINTARIS_BUILD_DIR:-$root/build}"
# Creates the local database with the whole schema the first time, lets ADMIN use this module and points
# connection.ini beside the program at it; later runs leave the database as it is.
"$build/src/app/admin/quintaris-admin" init-local --pasta "$build/src/app"
exec "$build/src/app/quintaris" "$@"
