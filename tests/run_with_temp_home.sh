#!/usr/bin/env bash
# Runs a test program with HOME pointed at a fresh, empty folder, removed afterwards,
# so no test ever reads or writes the real home folder.
set -u
home=$(mktemp -d "${TMPDIR:-/tmp}/sombrax-home.XXXXXX")
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_CONFIG_HOME="$home/.config" "$@"
