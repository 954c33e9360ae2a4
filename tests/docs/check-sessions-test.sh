#!/bin/sh
# Checks the session checker itself: small documents it must pass or fail,
# and README.md with one command broken on purpose, which must fail.
# Usage: tests/docs/check-sessions-test.sh BUILD_DIR README
set -u
build=$1
readme=$2
checker="$(cd "$(dirname "$0")" && pwd)/check-sessions.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/sessions-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME pass|fail FILE: runs the checker on FILE and compares.
expect() {
  if sh "$checker" "$build" "$3" >"$work/log" 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$2" ]; then
    echo "FAIL $1: the checker gave $got, expected $2"
    sed 's/^/    /' "$work/log"
    failures=$((failures + 1))
  fi
}

# One case a line: name, pass or fail, extension, the document with \n for
# line ends (``` is the fence, \047 a quote).
while IFS='|' read -r name result ext text; do
  [ -n "$name" ] || continue
  printf "$text" >"$work/doc.$ext"
  expect "$name" "$result" "$work/doc.$ext"
done <<'EOF'
output as shown|pass|md|```console\n$ echo hi\nhi\n```\n
output differs|fail|md|```console\n$ echo hi\nho\n```\n
output missing from the block|fail|md|```console\n$ echo hi\n```\n
a line too many in the block|fail|md|```console\n$ echo hi\nhi\nhi\n```\n
nonzero exit not shown|fail|md|```console\n$ false\n```\n
exit shown|pass|md|```console\n$ (echo x; exit 3)\nx\n[exit 3]\n$ echo y\ny\n```\n
exit shown but 0|fail|md|```console\n$ true\n[exit 1]\n```\n
dots match lines|pass|md|```console\n$ printf \047a\\nb\\nc\\nd\\n\047\na\n...\nd\n```\n
dots match no line|pass|md|```console\n$ echo a\n...\na\n...\n```\n
dots do not hide a wrong line|fail|md|```console\n$ printf \047a\\nb\\n\047\n...\nc\n```\n
CR LF output|pass|md|```console\n$ printf \047x\\r\\ny\\r\\n\047\nx\ny\n```\n
cd carries to the next command|pass|md|```console\n$ mkdir d && cd d\n$ pwd | sed \047s,.*/,,\047\nd\n```\n
blocks start in empty folders|pass|md|```console\n$ touch f\n```\n```console\n$ ls\n```\n
stdin is empty|pass|md|```console\n$ wc -c\n0\n```\n
built programs on PATH|pass|md|```console\n$ (command -v Lorvex; command -v Quenby) | sed \047s,.*/,,\047\nLorvex\nQuenby\n```\n
other fences not run|pass|md|```sh\n$ false\n```\n
text before a command|fail|md|```console\nhi\n$ echo hi\n```\n
block not closed|fail|md|```console\n$ echo hi\nhi\n
man page example|pass|1|.SH EXAMPLES\n.EX\n$ echo \\-x \\(aqa b\\(aq \\e\\e\\&\n\\-x a b \\e\n.EE\n
man page example fails|fail|1|.SH EXAMPLES\n.EX\n$ echo a\nb\n.EE\n
man page unchecked|pass|1|.SH EXAMPLES\n.\\" unchecked: a random game\n.EX\n$ false\n.EE\n
man page other section|pass|1|.SH FILES\n.EX\n$ false\n.EE\n
man page unknown escape|fail|1|.SH EXAMPLES\n.EX\n$ echo \\(mu\n.EE\n
EOF

# The README with one command broken: the first `cat` of a session reads a
# file that is not there.
sed '0,/^\$ cat /s//$ cat no-such-file /' "$readme" >"$work/broken.md"
if cmp -s "$readme" "$work/broken.md"; then
  echo "FAIL README broken on purpose: no \"\$ cat\" command to break"
  failures=$((failures + 1))
else
  expect "README broken on purpose" fail "$work/broken.md"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
