#!/usr/bin/env bash
# folder_files_test.sh FOLDER PROGRAM...: the Linux folder runs on glibc 2.35 and needs nothing beyond it.
# Every ELF file in it asks for no GLIBC_ symbol version above 2.35 (objdump -T, readelf -V) and
# no library but the C library's own (libc, libm, and the loader, which is every program's
# interpreter anyway and holds the unwinder's _dl_find_object) (readelf -d); the programs need
# SDL2 besides, found through the run path $ORIGIN alone; every ELF file is stripped.
set -uo pipefail
folder=${1:?usage: folder_files_test.sh FOLDER PROGRAM...}
shift
programs=("$@")
floor=2.35
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for file in "${programs[@]}" libSDL2-2.0.so.0 README.txt LICENSE; do
  [ -f "$folder/$file" ] || fail "expected $file in $folder"
done
for program in "${programs[@]}"; do
  [ -x "$folder/$program" ] || fail "expected $program to be executable"
done

newest_overall=0
elf_files=0
while IFS= read -r -d '' file; do
  [ "$(head -c 4 "$file" | od -An -tx1 | tr -d ' ')" = 7f454c46 ] || continue
  elf_files=$((elf_files + 1))
  name=${file#"$folder"/}
  newest=$({ objdump -T "$file"; readelf -V "$file"; } | grep -o 'GLIBC_[0-9][0-9.]*' |
    sed 's/^GLIBC_//' | sort -uV | tail -n 1)
  [ -n "$newest" ] || fail "$name: expected symbol versions of glibc, saw none"
  if [ "$(printf '%s\n' "$newest" "$floor" | sort -V | tail -n 1)" != "$floor" ]; then
    fail "$name: expected no GLIBC_ version above $floor, saw GLIBC_$newest:$(objdump -T "$file" |
      awk -v v="GLIBC_$newest" '$0 ~ v { printf " %s", $NF }')"
  fi
  [ "$(printf '%s\n' "$newest" "$newest_overall" | sort -V | tail -n 1)" = "$newest" ] && newest_overall=$newest

  allowed=" libc.so.6 libm.so.6 ld-linux-x86-64.so.2 "
  is_program=
  [[ " ${programs[*]} " == *" $name "* ]] && is_program=1
  [ -n "$is_program" ] && allowed+="libSDL2-2.0.so.0 "
  needed=$(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
  for library in $needed; do
    [[ $allowed == *" $library "* ]] || fail "$name: expected only${allowed% } as libraries, saw it need $library"
  done
  run_path=$(readelf -d "$file" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p')
  if [ -n "$is_program" ]; then
    # shellcheck disable=SC2016
    [ "$run_path" = '$ORIGIN' ] || fail "$name: expected the run path \$ORIGIN alone, saw '$run_path'"
  else
    [ -z "$run_path" ] || fail "$name: expected no run path, saw '$run_path'"
  fi
  readelf -S "$file" | grep -q '\.symtab' && fail "$name: expected it stripped, saw a symbol table"
  echo "$name: GLIBC_$newest at most; needs$(printf ' %s' $needed)"
done < <(find "$folder" -type f -print0 | sort -z)
[ "$elf_files" -eq $((${#programs[@]} + 1)) ] ||
  fail "expected $((${#programs[@]} + 1)) ELF files (the programs and SDL2), saw $elf_files"
echo "folder files: ok, glibc floor $newest_overall"
