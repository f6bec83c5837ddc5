#!/usr/bin/env bash
# Window > "Merge Logs..." from the keyboard: the dialog's "All" and OK open a window titled with both
# logs whose rows alternate between the two logs' colours, as their times interleave; the merged window
# is stored in the workspace with its logs.
# Usage: merged_window.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

logs=$e2e_home/logs
mkdir -p "$logs"
printf '2026-12-09 10:00:01 INFO first of web\n2026-12-09 10:00:03 INFO second of web\n' > "$logs/web.log"
printf '2026-12-09 10:00:02 INFO first of db\n2026-12-09 10:00:04 INFO second of db\n' > "$logs/db.log"
e2e_start "$logs/web.log" "$logs/db.log"
e2e_wait_title "Kestrano - db.log"

e2e_keys alt+w m
e2e_until xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^Merge Logs\$" \
    || e2e_fail "no Merge Logs dialog (titles: $(e2e_titles))"
dialog=$(xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^Merge Logs\$" | head -n 1)
xdotool windowfocus --sync "$dialog" key --clearmodifiers alt+a
# OK takes Return once "All" has checked the logs (the check box answers its key a moment later).
tries=100
while xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^Merge Logs\$" > /dev/null 2>&1; do
    xdotool windowfocus --sync "$dialog" key --clearmodifiers Return 2> /dev/null || true
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || e2e_fail "the Merge Logs dialog did not take Return"
    sleep 0.2
done
e2e_wait_title "Kestrano - Merged: web\.log, db\.log"

# The colour of each band of rows, top to bottom: per pixel row its most frequent colour that is not a
# grey, where it fills at least 200 pixels; runs of the same colour make one band.
bands()
{
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$e2e_window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    e2e_window_picture | pnmtoplainpnm | tail -n +4 | tr -s ' \n' '\n' | grep . | paste - - - \
        | awk -v width="$WIDTH" '
            { pixel = NR - 1; y = int(pixel / width)
              if ($1 != $2 || $2 != $3) count[y, $1 " " $2 " " $3]++
              rows = y }
            END {
              for (key in count) { split(key, part, SUBSEP)
                if (count[key] >= 200 && count[key] > best[part[1]]) { best[part[1]] = count[key]; colour[part[1]] = part[2] } }
              for (y = 0; y <= rows; y++) if ((y in colour) && colour[y] != last) { print colour[y]; last = colour[y] }
            }'
}
alternating()
{
    bands | awk '{ band[NR] = $0 } END {
        for (i = 1; i + 3 <= NR; i++)
            if (band[i] != band[i + 1] && band[i] == band[i + 2] && band[i + 1] == band[i + 3]) found = 1
        exit !found }'
}
e2e_until alternating || e2e_fail "the rows do not alternate between two logs' colours: $(bands | tr '\n' ',')"
e2e_screenshot "${E2E_SCREENSHOT:-$e2e_home/merged.png}"
e2e_quit

e2e_expect_config "$logs/web.log" Log1 MergedWindows Window1 Logs
e2e_expect_config "$logs/db.log" Log2 MergedWindows Window1 Logs
echo "merged_window: Merge Logs dialog, rows of both logs in time order, stored in the workspace"
