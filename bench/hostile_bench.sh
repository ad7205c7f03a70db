#!/usr/bin/env bash
# Times the hostile inputs that once took the machine or grew with the
# square of their size, with the limits they must run under:
#   - definitions and macros that double at each of 40 levels, under
#     `ulimit -v 1000000` (expected: a clear error within a few seconds);
#   - 10,000 includes of one file and a chain of 10,000 files each
#     including the next, under `ulimit -n 256` (expected: well under 2 s
#     each), and the chain at 2,500 and 5,000 files to show the growth.
#
#   bench/hostile_bench.sh [BINARY]
set -u
binary=$(realpath "${1:-build/src/hesk_config}")
work=$(mktemp -d "${TMPDIR:-/tmp}/hesk_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

{
  echo '<root><define name="d0" value="xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"/>'
  for i in $(seq 1 40); do echo "<define name=\"d$i\" value=\"\${d$((i - 1))}\${d$((i - 1))}\"/>"; done
  echo '<e v="${d40}"/></root>'
} >definitions.xml
{
  echo '<root><define name="m0" value=""><e a="1"/></define>'
  for i in $(seq 1 40); do
    echo "<define name=\"m$i\" value=\"\"><include macro=\"m$((i - 1))\"/><include macro=\"m$((i - 1))\"/></define>"
  done
  echo '<x><include macro="m40"/></x></root>'
} >macros.xml
echo '<root><leaf/></root>' >leaf.xml
perl -e 'print "<root>\n", "<include file=\"leaf.xml\"/>\n" x 10000, "</root>\n"' >many.xml
for n in 2500 5000 10000; do
  mkdir "chain$n"
  for ((i = 0; i < n - 1; i++)); do echo "<root><include file=\"c$((i + 1)).xml\"/></root>" >"chain$n/c$i.xml"; done
  echo '<root><end/></root>' >"chain$n/c$((n - 1)).xml"
done

timed() {  # timed LABEL LIMIT COMMAND...
  local label=$1 limit=$2
  shift 2
  local start end status
  start=$(date +%s.%N)
  (eval "$limit"; "$@" >/dev/null 2>&1)
  status=$?
  end=$(date +%s.%N)
  printf '%-36s %6.2f s  exit %s\n' "$label" "$(echo "$end - $start" | bc)" "$status"
}

for f in definitions macros; do
  timed "preprocess $f (ulimit -v 1000000)" "ulimit -v 1000000" "$binary" preprocess -p Q -x $f.xml -o out.xml
  timed "compile $f (ulimit -v 1000000)" "ulimit -v 1000000" \
    "$binary" compile -p Q -x $f.xml --settings=s.kvdb --storage=t.kvdb -e c.vsm
  timed "import $f (ulimit -v 1000000)" "ulimit -v 1000000" "$binary" import -x $f.xml --db=i.kvdb
done
timed "10,000 includes (ulimit -n 256)" "ulimit -n 256" "$binary" preprocess -p Q -x many.xml -o out.xml
for n in 2500 5000 10000; do
  timed "chain of $n (ulimit -n 256)" "ulimit -n 256" "$binary" preprocess -p Q -x "chain$n/c0.xml" -o out.xml
done
