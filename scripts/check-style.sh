#!/usr/bin/env bash
# Checks the tracked C++ sources against the committed .clang-format and .clang-tidy.
#   scripts/check-style.sh format              every tracked *.cc / *.h is clang-format clean
#   scripts/check-style.sh tidy BUILD_DIR      clang-tidy reports nothing on the translation units
#                                            of BUILD_DIR/compile_commands.json (headers through
#                                            the header filter); BUILD_DIR must be built, since
#                                            some headers are generated there
#   scripts/check-style.sh tidy BUILD_DIR FILE...   the same, for the named sources only
# Any finding fails the run (exit status 1). JOBS (default 2) sets how many clang-tidy run at once;
# CLANG_FORMAT and CLANG_TIDY name the programs (default: clang-format-14 and clang-tidy-22, the
# versions the configurations are written for, else the unversioned ones). clang-tidy 22 leaves
# the system headers out of its walk of each unit's syntax tree, which took clang-tidy 14 two
# thirds of its time (the standard library's, SDL2's and GoogleTest's declarations).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

pick() {
  local name
  for name in "$@"; do
    if command -v "$name" >/dev/null 2>&1; then
      echo "$name"
      return 0
    fi
  done
  echo "check-style: none of $* is installed (scripts/install-deps.sh style installs it)" >&2
  exit 2
}

# The C++ sources under version control; a tree without git is read as it stands.
tracked_sources() {
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$root" ls-files -- '*.cc' '*.h'
  else
    find src tests tools bench assets release -name '*.cc' -o -name '*.h' | sort
  fi
}

check_format() {
  local clang_format
  clang_format=$(pick "${CLANG_FORMAT:-clang-format-14}" clang-format)
  local -a files
  mapfile -t files < <(tracked_sources)
  [ ${#files[@]} -gt 0 ] || { echo "check-style: no sources found" >&2; exit 2; }
  # --dry-run -Werror reports every line that would change and fails on the first file with one.
  local status=0
  printf '%s\0' "${files[@]}" | xargs -0 -n 16 "$clang_format" --style=file --dry-run -Werror || status=1
  if [ $status -ne 0 ]; then
    echo "check-style: not clang-format clean; run: $clang_format -i <file>" >&2
    return 1
  fi
  echo "check-style: ${#files[@]} files clang-format clean"
}

# The awk program behind the de-duplication of the compile database (see check_tidy).
dedupe_database='
function text_of(file,    line, all) {
  if (file in source) return source[file]
  all = ""
  while ((getline line < file) > 0) all = all "\n" line
  close(file)
  source[file] = all
  return all
}
/^\{$/ { entry = $0; file = ""; command = ""; next }
/^ *"command": / { command = $0 }
/^ *"file": / { file = $0; sub(/^ *"file": "/, "", file); sub(/",?$/, "", file) }
/^\},?$/ {
  key = file
  text = text_of(file)
  rest = command
  while (match(rest, /-D[A-Za-z_][A-Za-z0-9_]*/)) {
    if (index(text, substr(rest, RSTART + 2, RLENGTH - 2)) > 0) key = key " " substr(rest, RSTART, RLENGTH)
    rest = substr(rest, RSTART + RLENGTH)
  }
  entry = entry "\n" $0
  sub(/,$/, "", entry)
  if (!(key in seen)) {
    seen[key] = 1
    out = out (out == "" ? "" : ",\n") entry
  }
  next
}
{ entry = entry "\n" $0 }
END { print "["; print out; print "]" }
'

check_tidy() {
  local build=${1:?usage: check-style.sh tidy BUILD_DIR [FILE...]}
  shift
  build=$(cd "$build" && pwd)
  local database="$build/compile_commands.json"
  [ -f "$database" ] || { echo "check-style: $database missing; configure with CMake first" >&2; exit 2; }
  local clang_tidy
  clang_tidy=$(pick "${CLANG_TIDY:-clang-tidy-22}" clang-tidy)

  local -a units
  if [ $# -gt 0 ]; then
    units=("$@")
  else
    # Each tracked source the build compiles, once, even when several targets compile it.
    local -A compiled=()
    local file
    while IFS= read -r file; do compiled["$file"]=1; done < <(
      sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database")
    while IFS= read -r file; do
      case "$file" in *.cc) [ -n "${compiled[$root/$file]:-}" ] && units+=("$file") ;; esac
    done < <(tracked_sources)
  fi
  [ ${#units[@]} -gt 0 ] || { echo "check-style: no translation units in $database" >&2; exit 2; }

  local log
  log=$(mktemp -d)
  trap 'rm -rf "$log"' RETURN
  # clang-tidy checks a file once per entry of the database, and the build compiles some files
  # into several targets (the presentation variants into the programs, tools and tests). Keep
  # one entry per file and per distinct set of the -D macros the file itself names, so each
  # meaning of a file is checked once.
  mkdir "$log/db"
  awk "$dedupe_database" "$database" >"$log/db/compile_commands.json"
  # One clang-tidy per unit, JOBS at a time; each writes its own log so reports do not interleave.
  # shellcheck disable=SC2016 # the inner script expands its own positional arguments
  printf '%s\0' "${units[@]}" | xargs -0 -P "${JOBS:-2}" -I{} sh -c '
    out="$1/$(printf "%s" "$2" | tr / _).log"
    "$3" -p "$4" --quiet --warnings-as-errors="*" "$2" >"$out" 2>&1 || echo "$2" >>"$1/failed"' \
    sh "$log" {} "$clang_tidy" "$log/db"
  if [ -s "$log/failed" ]; then
    # A header's finding shows once per unit that includes it; print each distinct one once.
    cat "$log"/*.log | grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^\[[0-9]+/[0-9]+\] .*Processing file ' |
      awk '/^[^ ].*: (warning|error): / { seen_it = ($0 in seen); seen[$0] = 1 } !seen_it' >&2
    echo "check-style: clang-tidy findings in $(sort -u "$log/failed" | tr '\n' ' ')" >&2
    return 1
  fi
  echo "check-style: ${#units[@]} translation units clang-tidy clean"
}

case "${1:-}" in
  format) check_format ;;
  tidy) shift; check_tidy "$@" ;;
  *) echo "usage: $0 format | tidy BUILD_DIR [FILE...]" >&2; exit 2 ;;
esac
