#!/usr/bin/env bash
# Runs a test program on a private virtual X display, with its own empty HOME.
set -u
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/../run_with_temp_home.sh" xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
