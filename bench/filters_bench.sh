#!/usr/bin/env bash
# Times `preprocess` and `pack` on a filter-heavy tree of about 50 MB: one main
# file including 50 part files, each with definitions, blocks, conditions,
# macro includes and references in wide and deep element trees.
#
#   bench/filters_bench.sh [BINARY] [MEGABYTES]
set -eu
binary=$(realpath "${1:-build/src/hesk_config}")
megabytes=${2:-50}
work=$(mktemp -d "${TMPDIR:-/tmp}/hesk_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

perl - "$work" "$megabytes" <<'PERL'
use strict;
my ($dir, $mb) = @ARGV;
my $parts = 50;
my $target = $mb * 1024 * 1024 / $parts;
open(my $main, '>', "$dir/main.xml") or die;
print $main "<root>\n<define name=\"ROOT\" value=\"r\"/>\n";
mkdir "$dir/parts";
for my $p (1 .. $parts) {
  print $main "<include file=\"parts\\part$p.xml\"/>\n";
  open(my $f, '>', "$dir/parts/part$p.xml") or die;
  print $f "<part>\n<define name=\"P$p\" value=\"part $p of \${ROOT}\"/>\n";
  print $f "<define name=\"M$p\" value=\"\"><m a=\"\${P$p}\"/><block><n/></block></define>\n";
  my $size = 0;
  my $i = 0;
  while ($size < $target) {
    $i++;
    my $item = "<group id=\"g$i\" product=\"QPX;ABC\">\n"
      . "  <block><item name=\"i$i\" value=\"\${P$p}/$i\" ifdef=\"ROOT\"/>"
      . "<item name=\"skip$i\" product=\"!(QPX)\"/></block>\n"
      . "  <include macro=\"M$p\"/>\n"
      . "  <deep><a><b><c><d><e text=\"\${ROOT}\">leaf \${P$p}</e></d></c></b></a></deep>\n"
      . "</group>\n";
    print $f $item;
    $size += length $item;
  }
  print $f "</part>\n";
  close $f;
}
print $main "</root>\n";
close $main;
PERL

echo "input: $(du -sh "$work" | cut -f1) in $(find "$work" -name '*.xml' | wc -l) files"
cd "$work"
for command in preprocess pack; do
  extra=()
  [ "$command" = preprocess ] && extra=(-p QPX)
  start=$(date +%s.%N)
  "$binary" "$command" "${extra[@]}" -x main.xml -o "out_$command.xml" -m 1
  end=$(date +%s.%N)
  printf '%s: %.2f s, output %s\n' "$command" "$(echo "$end - $start" | bc)" "$(du -h "out_$command.xml" | cut -f1)"
done
