#!/usr/bin/env bash
# Installs what building the board server (korimo-board) needs, if any is missing: the HTTP
# server and JSON libraries, SQLite, libpqxx for PostgreSQL, and OpenSSL's hash. Running it
# against PostgreSQL needs no PostgreSQL server on the same machine. As root it runs apt-get
# itself; otherwise it prints the command to run and stops.
set -euo pipefail

packages=(libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev libssl-dev)

exec "$(dirname "$0")/install-packages.sh" setup-board "${packages[@]}"
