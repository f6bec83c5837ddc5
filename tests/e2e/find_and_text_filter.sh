#!/usr/bin/env bash
# Finding and filtering text as a user would: Ctrl+F and a typed pattern mark the matches in the rows
# (the marking colour appears), F3 and Return go on, and Follow is stored off; Escape closes the bar and
# the marks go. Ctrl+Shift+F and a typed pattern filter the rows (fewer information icons), the filter
# is stored as "TextFilter" and, after a restart, the window shows the same filtered rows again.
# Usage: find_and_text_filter.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

logs=$e2e_home/logs
mkdir -p "$logs"
{
    for i in $(seq 1 6); do
        printf 'info order 1044%d received\n' "$i"
        printf 'info order 1044%d packed\n' "$i"
    done
    printf 'info order 10443 shipped\n'
} > "$logs/orders.log"

e2e_start "$logs/orders.log"
e2e_wait_title "Kestrano - orders.log"

marked=(255 214 64)
information=(31 95 209)
all=$(e2e_settled_pixels "${information[@]}")
[ "$(e2e_pixels "${marked[@]}")" -eq 0 ] || e2e_fail "rows are marked before anything was searched"

e2e_keys ctrl+f
xdotool type --delay 20 "order 10443"
has_marks() { [ "$(e2e_pixels "${marked[@]}")" -gt 0 ]; }
e2e_until has_marks || e2e_fail "typing in the find bar marked no match"
e2e_keys F3 Return shift+F3
e2e_keys Escape
no_marks() { [ "$(e2e_pixels "${marked[@]}")" -eq 0 ]; }
e2e_until no_marks || e2e_fail "the marks stayed after Escape closed the find bar"

e2e_keys ctrl+shift+f
xdotool type --delay 20 "10443"
fewer() { [ "$(e2e_pixels "${information[@]}")" -lt "$all" ]; }
e2e_until fewer || e2e_fail "the text filter left every row ($all pixels of the information icon)"
filtered=$(e2e_settled_pixels "${information[@]}")
e2e_quit
e2e_expect_config 10443 TextFilter Workspace "$logs/orders.log"
e2e_expect_config 0 TextFilterHides Workspace "$logs/orders.log"
e2e_expect_config 0 Follow Workspace "$logs/orders.log"

e2e_start
e2e_wait_title "Kestrano - orders.log"
again=$(e2e_settled_pixels "${information[@]}")
[ "$again" -eq "$filtered" ] \
    || e2e_fail "after the restart $again pixels of the information icon, $filtered before it"
e2e_quit
echo "find and text filter: matches marked, filter stored and restored"
