#!/bin/sh
# Runs the console sessions shown in the user documents and checks them.
#
# Usage: tests/docs/check-sessions.sh BUILD_DIR FILE...
#
# A session is a fenced block of a Markdown file whose info string is
# `console`, or a .EX/.EE block of a manual page's EXAMPLES section that holds
# a line beginning "$ ". In a session:
#   - each line beginning "$ " is a command, run by sh;
#   - the lines after it, up to the next "$ " line, are its exact standard
#     output (stderr is not checked); a line holding only "..." matches any
#     number of lines, and a CR before a line end is not part of the text;
#   - the command must exit 0, unless its output is followed by a line
#     "[exit N]", which asks for status N.
# The commands of one block run in order in one shell (a `cd` or a variable
# carries to the next command) with standard input from /dev/null, in a new
# empty scratch folder of their own, under LC_ALL=C, with the built programs
# first on PATH (BUILD_DIR's solver/, generator/ and, when it exists, mgame/).
# In a manual page, the roff escapes \- \e \& \(aq \(dq are read as the text
# they print, and a block preceded by a comment line holding "unchecked"
# (say why on that line) is skipped.
#
# Exit status: 0 when every session passes, 1 otherwise, 2 on a usage error.
set -u

if [ $# -lt 2 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BUILD_DIR FILE..." >&2
  exit 2
fi
build=$(cd "$1" && pwd)
shift
programs="$build/solver:$build/generator"
[ -d "$build/mgame" ] && programs="$programs:$build/mgame"

work=$(mktemp -d "${TMPDIR:-/tmp}/sessions-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Splits FILE's sessions into $work/N/: for command K, cmd.K (its text),
# expect.K (its output lines), status.K (its exit status) and line.K (its
# line in FILE); script (the commands with their redirections). Prints the
# number of blocks found, or fails on a malformed block.
extract() {
  awk -v work="$work" -v file="$1" '
    function unescape(s,    out, c, i) {
      out = ""
      for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        if (c != "\\") { out = out c; continue }
        c = substr(s, i + 1, 1)
        if (c == "-") { out = out "-"; i++ }
        else if (c == "e") { out = out "\\"; i++ }
        else if (c == "&") { i++ }
        else if (substr(s, i + 1, 3) == "(aq") { out = out "\047"; i += 3 }
        else if (substr(s, i + 1, 3) == "(dq") { out = out "\""; i += 3 }
        else { bad("a roff escape the checker does not read: " substr(s, i, 4)) }
      }
      return out
    }
    function bad(msg) { printf "%s:%d: %s\n", file, FNR, msg > "/dev/stderr"; failed = 1; exit 1 }
    function open_block() { blocks++; dir = work "/" blocks; system("mkdir -p \"" dir "\""); cmds = 0; inblock = 1 }
    function finish_cmd(    n) {
      if (cmds == 0) return
      status = 0
      if (nlines_out > 0 && lines[nlines_out] ~ /^\[exit [0-9]+\]$/) { status = substr(lines[nlines_out], 7) + 0; nlines_out-- }
      for (n = 1; n <= nlines_out; n++) print lines[n] > (dir "/expect." cmds)
      close(dir "/expect." cmds)
      printf "" >> (dir "/expect." cmds); close(dir "/expect." cmds)
      print status > (dir "/status." cmds); close(dir "/status." cmds)
      nlines_out = 0
    }
    function close_block() {
      finish_cmd()
      if (cmds == 0) bad("a session block without a \"$ \" command")
      close(dir "/script"); inblock = 0; skip = 0
    }
    function line_of_block(text) {
      if (substr(text, 1, 2) == "$ ") {
        finish_cmd()
        cmds++
        print substr(text, 3) > (dir "/cmd." cmds); close(dir "/cmd." cmds)
        print FNR > (dir "/line." cmds); close(dir "/line." cmds)
        printf "{\n%s\n} >\"$W/out.%d\" 2>\"$W/err.%d\" </dev/null\necho $? >\"$W/rc.%d\"\n", \
               substr(text, 3), cmds, cmds, cmds > (dir "/script")
      } else if (cmds == 0) {
        bad("a session line before its first \"$ \" command")
      } else {
        lines[++nlines_out] = text
      }
    }
    BEGIN { roff = (file !~ /\.md$/) }
    { sub(/\r$/, "") }
    # Markdown: ```console ... ```
    !roff && !inblock && /^```console[ \t]*$/ { open_block(); next }
    !roff && inblock && /^```[ \t]*$/ { close_block(); next }
    !roff && inblock { line_of_block($0); next }
    # Manual pages: .EX ... .EE in EXAMPLES.
    roff && /^\.SH/ { examples = ($0 ~ /^\.SH +"?EXAMPLES"?[ \t]*$/); next }
    roff && examples && !inex && /^\.\\"/ && /unchecked/ { skip = 1; next }
    roff && examples && !inex && /^\.EX/ { inex = 1; nlines = 0; next }
    roff && inex && /^\.EE/ {
      inex = 0
      has = 0
      for (n = 1; n <= nlines; n++) if (substr(body[n], 1, 2) == "$ ") has = 1
      if (has && !skip) {
        open_block()
        keep = FNR
        for (n = 1; n <= nlines; n++) { FNR = bodyline[n]; line_of_block(body[n]) }
        FNR = keep
        close_block()
      }
      skip = 0
      next
    }
    roff && inex { body[++nlines] = unescape($0); bodyline[nlines] = FNR; next }
    END {
      if (failed) exit 1
      if (inblock || inex) bad("a session block is not closed")
      print blocks + 0
    }
  ' "$1"
}

# Prints 1 when the lines of file $2 match the expected lines of file $1
# ("..." matching any run of lines), 0 otherwise.
matches() {
  awk '
    FNR == NR { e[++m] = $0; next }
    { sub(/\r$/, ""); a[++n] = $0 }
    END {
      i = 1; j = 1; star = 0; mark = 0
      while (j <= n) {
        if (i <= m && e[i] == "...") { star = i; mark = j; i++; continue }
        if (i <= m && e[i] == a[j]) { i++; j++; continue }
        if (star) { i = star + 1; mark++; j = mark; continue }
        print 0; exit
      }
      while (i <= m && e[i] == "...") i++
      print (i > m) ? 1 : 0
    }
  ' "$1" "$2"
}

failures=0
sessions=0
for file in "$@"; do
  rm -rf "${work:?}"/[0-9]*
  if ! blocks=$(extract "$file"); then
    failures=$((failures + 1))
    continue
  fi
  b=1
  while [ "$b" -le "$blocks" ]; do
    dir="$work/$b"
    scratch=$(mktemp -d "$work/scratch-XXXXXX")
    (cd "$scratch" && W="$dir" PATH="$programs:$PATH" LC_ALL=C sh "$dir/script" >/dev/null 2>&1)
    sessions=$((sessions + 1))
    k=1
    while [ -f "$dir/cmd.$k" ]; do
      where="$file:$(cat "$dir/line.$k")"
      cmd=$(cat "$dir/cmd.$k")
      want=$(cat "$dir/status.$k")
      if [ ! -f "$dir/rc.$k" ]; then
        echo "FAIL $where: \$ $cmd"
        echo "    did not run: the session stopped before it (an exit, or a syntax error)"
        failures=$((failures + 1))
        break
      fi
      got=$(cat "$dir/rc.$k")
      if [ "$got" != "$want" ]; then
        echo "FAIL $where: \$ $cmd"
        echo "    exit status $got, expected $want"
        sed 's/^/    stderr: /' "$dir/err.$k"
        failures=$((failures + 1))
      fi
      if [ "$(matches "$dir/expect.$k" "$dir/out.$k")" != 1 ]; then
        echo "FAIL $where: \$ $cmd"
        echo "    standard output differs (- expected, + actual):"
        sed 's/\r$//' "$dir/out.$k" | diff -u "$dir/expect.$k" - | tail -n +3 | sed 's/^/    /'
        sed 's/^/    stderr: /' "$dir/err.$k"
        failures=$((failures + 1))
      fi
      k=$((k + 1))
    done
    rm -rf "$scratch"
    b=$((b + 1))
  done
  echo "checked $file: $blocks session(s)"
done

echo "$sessions session(s), $failures failure(s)"
[ "$failures" -eq 0 ]
