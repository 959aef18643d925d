#!/usr/bin/env bash
# Runs a test program on a private virtual X display.
set -u
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
