#!/usr/bin/env bash
# File > "Open Remote Log..." against a real sshd on 127.0.0.1 with keys made for the test: the dialog
# typed into with the keyboard opens the remote file's window, a line appended there arrives, a burst
# of lines leaves the window answering keys, and the workspace and the recent list keep the log.
# Usage: remote_log.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

[ -x /usr/sbin/sshd ] || { [ -n "${CI:-}" ] && e2e_fail "no sshd"; exit 77; }
ssh_dir=$e2e_home/sshd
mkdir -p "$ssh_dir" /run/sshd 2> /dev/null || mkdir -p "$ssh_dir"
ssh-keygen -q -t ed25519 -N '' -f "$ssh_dir/host"
ssh-keygen -q -t ed25519 -N '' -f "$ssh_dir/client"
cp "$ssh_dir/client.pub" "$ssh_dir/authorized_keys"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$ssh_dir/sshd_config" << END
Port $port
ListenAddress 127.0.0.1
HostKey $ssh_dir/host
AuthorizedKeysFile $ssh_dir/authorized_keys
StrictModes no
UsePAM no
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
PidFile none
END
/usr/sbin/sshd -D -f "$ssh_dir/sshd_config" -E "$ssh_dir/sshd.log" &
sshd_pid=$!
trap 'kill "$sshd_pid" 2> /dev/null; e2e_cleanup' EXIT
e2e_until bash -c "echo > /dev/tcp/127.0.0.1/$port" || e2e_fail "sshd did not start: $(cat "$ssh_dir/sshd.log")"
export KESTRANO_SSH_COMMAND="ssh -F /dev/null -i $ssh_dir/client -o IdentitiesOnly=yes -o UserKnownHostsFile=$ssh_dir/known_hosts -o StrictHostKeyChecking=accept-new -o LogLevel=ERROR"

log=$e2e_home/remote.log
printf 'first line\nan error here\n' > "$log"
host=$(id -un)@127.0.0.1:$port
name=ssh://$host$log

e2e_start
e2e_keys alt+f r
e2e_until xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^Open Remote Log\$" \
    || e2e_fail "no Open Remote Log dialog (titles: $(e2e_titles))"
dialog=$(xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^Open Remote Log\$" | head -n 1)
# The recent list is empty, so the host field has the focus; Tab goes to File, Tab to its path.
xdotool windowfocus --sync "$dialog" type --delay 20 "$host"
xdotool windowfocus --sync "$dialog" key --clearmodifiers Tab Tab
xdotool windowfocus --sync "$dialog" type --delay 20 "$log"
xdotool windowfocus --sync "$dialog" key --clearmodifiers Return
e2e_wait_title "Kestrano - 127\.0\.0\.1: remote\.log"

# Many lines at once; the window still answers keys (E: errors and worse only).
seq -f 'line %g' 1 100000 >> "$log"
echo "the last error" >> "$log"
e2e_keys e
e2e_quit
severity=$(e2e_config_value MinimumSeverity Workspace "$name")
[ -n "$severity" ] && [ "$severity" != 0 ] || e2e_fail "E did not reach the window of $name (\"$severity\")"
[ "$(e2e_config_value Recent1 RemoteLogs)" = "$name" ] || e2e_fail "the recent list holds $(e2e_config_value Recent1 RemoteLogs)"
! pgrep -f "$ssh_dir/client" > /dev/null || e2e_fail "an ssh process outlived the program"
