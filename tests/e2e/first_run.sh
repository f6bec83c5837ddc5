#!/usr/bin/env bash
# A first run without a configuration: the empty main window comes up, Alt+X ends it with status 0, and
# the configuration written at exit holds every setting with its default and the first start's place.
# Usage: first_run.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

[ ! -e "$e2e_config" ] || e2e_fail "the fresh home already has $e2e_config"
e2e_start
e2e_wait_title "Kestrano"
e2e_quit

[ -f "$e2e_config" ] || e2e_fail "no configuration written at $e2e_config"
e2e_expect_config "debug debg" DebugInformation Analyze
e2e_expect_config "info notice" Information Analyze
e2e_expect_config "warn" Warning Analyze
e2e_expect_config "error exception" Error Analyze
e2e_expect_config "fatal crit" Fatal Analyze
e2e_expect_config 1 MultiLine Analyze
e2e_expect_config 1000 UpdateEvery Analyze
e2e_expect_config 65536 InitiallyReadBytes Sizes
e2e_expect_config 1000 KeepLines Sizes
e2e_expect_config 3 OnTop Notifications
e2e_expect_config 2 PlaySound Notifications
e2e_expect_config 1 Desktop Notifications
# Two thirds of the 1024 x 768 screen, centred.
e2e_expect_config 171 XPos MainFrame
e2e_expect_config 128 YPos MainFrame
e2e_expect_config 682 XSize MainFrame
e2e_expect_config 512 YSize MainFrame
e2e_expect_config 0 Maximized MainFrame
workspace=$(sed -n '/^<Workspace>/,/^<\/Workspace>/p' "$e2e_config" | grep -v '^</\?Workspace>$' || true)
[ -z "$workspace" ] || e2e_fail "a first run without logs stored a workspace: $workspace"
echo "first run: defaults written"
