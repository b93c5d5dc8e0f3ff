#!/usr/bin/env bash
# Holds the source folders to the build's rules; run as a test (tests/CMakeLists.txt).
#   tools/check_includes.sh <source dir> <include rules file>
# The rules file is what the configuration writes (build/include_rules.txt): a line
# "<folder>: <folders>" says which folders the files directly in <folder> may include, so no
# folder includes one it does not depend on (and so none above it); "private <folder>" marks a
# private part. Also checked: GStreamer's headers only in a private part, ALSA's in no header,
# no fake in a production folder, and no source folder without a rule.
# Prints each breach as "<file>: <what>" and exits 1 when there is one.
set -euo pipefail
src=$1
rules=$2

declare -A allowed=()
private=()
while read -r first rest; do
  if [ "$first" = private ]; then
    private+=("$rest")
  else
    allowed[${first%:}]=" $rest "
  fi
done <"$rules"
[ ${#allowed[@]} -gt 0 ] || { echo "$rules: no rules"; exit 1; }
cd "$src"

is_private() {
  local p
  for p in "${private[@]}"; do [ "$p" = "$1" ] && return 0; done
  return 1
}

# The top folders the rules name, where every source folder must have a rule.
mapfile -t roots < <(printf '%s\n' "${!allowed[@]}" | cut -d/ -f1 | sort -u)

out=$(mktemp)
trap 'rm -f "$out"' EXIT

while read -r folder; do
  [ -n "${allowed[$folder]+set}" ] || echo "$folder: a source folder without a rule" >>"$out"
done < <(find "${roots[@]}" -name '*.h' -o -name '*.cpp' | xargs -r dirname | sort -u)

shopt -s nullglob
for folder in "${!allowed[@]}"; do
  files=("$folder"/*.h "$folder"/*.cpp)
  [ ${#files[@]} -gt 0 ] || continue
  is_private "$folder" && part=1 || part=0
  awk -v folder="$folder" -v allowed="${allowed[$folder]}" -v part="$part" '
    FNR == 1 && FILENAME ~ /fake[^\/]*$/ {
      print FILENAME ": a fake in a production folder (fakes live in tests/fakes/)"
    }
    /^[ \t]*(class|struct)[ \t]+Fake/ {
      print FILENAME ": a fake in a production folder (fakes live in tests/fakes/)"
    }
    /^[ \t]*#[ \t]*include[ \t]*"[^"]*\/[^"]*"/ {
      match($0, /"[^"]*"/)
      included = substr($0, RSTART + 1, RLENGTH - 2)
      dir = included
      sub(/\/[^\/]*$/, "", dir)
      if (index(allowed, " " dir " ") == 0) {
        print FILENAME ": includes \"" included "\", outside what " folder " may include"
      }
    }
    !part && /^[ \t]*#[ \t]*include[ \t]*<gst\// {
      print FILENAME ": includes GStreamer outside a private part"
    }
    FILENAME ~ /\.h$/ && /^[ \t]*#[ \t]*include[ \t]*<alsa\// {
      print FILENAME ": a header that includes ALSA"
    }
  ' "${files[@]}" >>"$out"
done

if [ -s "$out" ]; then
  sort "$out"
  echo "$(wc -l <"$out") breach(es) of the build's rules"
  exit 1
fi
