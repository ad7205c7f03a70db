#!/usr/bin/env bash
# Runs the commands of a document in their order and shows what each prints
# and its exit status (with a checksum of the .vsm file after a compile);
# then checks that every line the document shows as printed or written
# stands in what the commands printed or in a file under the folder.
#
#   doc_commands.sh DOCUMENT
#
# The examples are taken from the source tree instead of the installed
# package, /tmp/tour is the current folder's tour/, and the source-checkout
# lines (the PATH, the copy from a checkout) are left out: the tool is on
# the path already.
root=$(cd "$(dirname "$0")/../../.." && pwd)
document=$1
scratch=$PWD
printed=$(mktemp)
while IFS= read -r -d '' command; do
  case $command in *'export PATH='* | *'cp -r examples '*) continue ;; esac
  echo "\$ ${command%%$'\n'*}"
  command=${command//\/usr\/share\/doc\/hesk-config\/examples/$root/examples}
  command=${command//\/tmp\/tour/$scratch/tour}
  eval "$command" >"$printed.one"
  status=$?
  cat "$printed.one"
  cat "$printed.one" >>"$printed"
  case $command in
    hesk_config\ compile*)
      [[ $command =~ -e\ ([^[:space:]]+) ]]
      echo "exit $status; ${BASH_REMATCH[1]}: $(cksum <"${BASH_REMATCH[1]}" | cut -d' ' -f1)" ;;
    *) [ $status -eq 0 ] || echo "exit $status" ;;
  esac
done < <(perl "$(dirname "$0")/doc_commands.pl" "$document")

# Lines compared without their leading blanks and the CR of a stored line.
trimmed() { sed -e 's/^[[:space:]]*//' -e 's/\r$//' "$@"; }
found=$(mktemp)
{ trimmed "$printed"; find "$scratch" -type f \( -name '*.xml' -o -name '*.vsm' \) -print0 |
  xargs -0 cat | trimmed; } | sed "s|$scratch/tour|/tmp/tour|g" | LC_ALL=C sort -u >"$found"
perl "$(dirname "$0")/doc_commands.pl" --shown "$document" | trimmed | while IFS= read -r line; do
  grep -qxF -- "$line" "$found" || echo "shown but not printed nor written: $line"
done
rm -f "$printed" "$printed.one" "$found"
