#!/usr/bin/env bash
# The copy of --new under a hostile world: two creations into one folder at once, a kill at each
# call that changes the disk, a read-only library and an unlistable folder (as a user, not root).
set -u
trelik=$(readlink -f "$1")
. "$(dirname "$0")/../checks.sh"
work=$(mktemp -d /tmp/trelik-e2e.XXXXXX) && trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
web="$XDG_DATA_HOME/trelik/projects/Web"
mkdir -p "$web/css" "$web/sub/deeper" && cd "$web/.." || exit 1
printf '<title>{{trelik.folder}}</title>' >Web/index.htm
printf '/* {{trelik.folder}} */' >'Web/{{trelik.folder}}.css'
printf 'deep' >Web/sub/deeper/a.txt && : >'Web/css/{{trelik.file}}.css'
printf 'Web\r\n' >../projects.lib && printf '[mainfile]\r\nWeb=index.htm\r\n[fill]\r\nWeb=1\r\n' >../trelik.ini
# <folder> <name> <main file>: true when the folder holds the whole project, filled in as <name>.
whole() {
  [ "$(cd "$1" 2>/dev/null && find . | LC_ALL=C sort | tr '\n' ' ')" = \
    ". ./$2.css ./css ./css/$3.css ./$3.htm ./sub ./sub/deeper ./sub/deeper/a.txt " ] &&
    [ "$(cat "$1/$3.htm")$(cat "$1/$2.css")" = "<title>$2</title>/* $2 */" ]
}
for round in $(seq 1 20); do
  into="$work/pair$round" && mkdir "$into"
  "$trelik" --new Web --in "$into" >/dev/null 2>&1 &
  "$trelik" --new Web --in "$into" >/dev/null 2>&1 || fail "pair $round: one failed"
  wait $! || fail "pair $round: the other failed"
  whole "$into/Web" Web index && whole "$into/Web - Copy" "Web - Copy" index &&
    [ "$(ls -A "$into" | wc -l)" = 2 ] || fail "pair $round: $(ls -A "$into" | tr '\n' '|')"
done
# Each file and folder is flushed before the move into place, and the folder it went to after.
mkdir "$work/synced" && strace -f -qq -o "$work/calls" -e trace=fsync,syncfs,renameat2 \
  "$trelik" --new Web --in "$work/synced" >/dev/null
flushes=$(awk '/renameat2\([0-9]+, "\.[^/"]*trelik-copy[^/"]*", / { moved = 1 }
  /fsync|syncfs/ { n[moved + 0]++ } END { print n[0] + 0, n[1] + 0 }' "$work/calls")
[ "${flushes% *}" -ge 8 ] && [ "${flushes#* }" -ge 1 ] || fail "flushes before, after: $flushes"
# Killed at the Nth call, N = 1, 2, ... until a run ends by itself: nothing visible or the whole
# project; the next run leaves no trace of it.
for call in mkdir mkdirat copy_file_range fchmod utimensat fsync syncfs rename renameat2 unlinkat; do
  for when in $(seq 1 60); do
    into="$work/$call$when" && mkdir "$into"
    { strace -f -qq -o /dev/null -e inject="$call:signal=SIGKILL:when=$when" \
      "$trelik" --new Web --in "$into" --name 'Shop\home' >/dev/null 2>&1; } 2>/dev/null; status=$?
    [ -z "$(ls "$into")" ] || whole "$into/Shop" Shop home || fail "$call #$when: $(ls "$into")"
    "$trelik" --new Web --in "$into" >/dev/null && whole "$into/Web" Web index &&
      [ -z "$(ls -A "$into" | grep -vx -e Web -e Shop)" ] || fail "after $call #$when: $(ls -A "$into")"
    [ "$status" = 137 ] || break
  done
done
# As a user, not root: a library read-only throughout, and a folder that cannot be listed.
as_user() { setpriv --reuid=4242 --regid=4242 --clear-groups "$@" 2>&1; }
mkdir -m 311 "$work/shut" && chown -R 4242 "$work" && chmod -R a-w "$web"
out=$(as_user "$trelik" --new Web --in "$work" --name 'Shop\home') || fail "read-only: $out"
whole "$work/Shop" Shop home && [ -w "$work/Shop/sub/deeper" ] || fail "read-only: not whole or not writable"
out=$(as_user "$trelik" --new Web --in "$work/shut")
[ "$out" = "trelik: the folder \"$work/shut\" cannot be opened: Permission denied" ] || fail "$out"
finish
