# Sourced by scripts/seed_faults.sh (native unit tests) and scripts/seed_shell_faults.sh (the
# end-to-end tests under Wine): the table of faults, the options, the scratch copy of the tree
# and the seeding of one fault. Each script keeps how it builds, runs and reports its suite.
#
# A fault is one row: a name, the file, what the fault does, the exact text to find (it must
# occur exactly once) and its replacement. When the code moves and a row's text no longer
# occurs, the row is reported as NO MATCH and must be brought up to date.

names=() files=() descs=() finds=() repls=()
# fault NAME FILE DESCRIPTION FIND REPLACE
fault() { names+=("$1") files+=("$2") descs+=("$3") finds+=("$4") repls+=("$5"); }

# Reads the options once the table is complete and sets $only (",a,b," or empty). --list,
# --check and --help answer and end the script.
seed_options() {
  only=""
  while [ $# -gt 0 ]; do
    case "$1" in
      --only) only=",${2:?--only needs a name},"; shift 2 ;;
      --list)
        for i in "${!names[@]}"; do printf '%-28s %-24s %s\n' "${names[$i]}" "${files[$i]}" "${descs[$i]}"; done
        exit 0 ;;
      --check)  # only whether each row's text occurs exactly once; nothing is built
        local bad=0 n
        for i in "${!names[@]}"; do
          n=$(FIND=${finds[$i]} perl -0777 -ne 'my $n = () = /\Q$ENV{FIND}\E/g; print $n' \
            "${files[$i]}" 2>/dev/null || echo 0)
          [ "$n" = 1 ] && continue
          printf '%-28s NO MATCH   %s occurrences in %s\n' "${names[$i]}" "${n:-0}" "${files[$i]}"
          bad=1
        done
        [ "$bad" -eq 0 ] && echo "every row's text occurs once"
        exit "$bad" ;;
      -h|--help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
      *) echo "unknown option '$1' (see --help)" >&2; exit 2 ;;
    esac
  done
  if [ -n "$only" ]; then
    for n in $(echo "${only//,/ }"); do
      case " ${names[*]} " in *" $n "*) ;; *) echo "no fault named '$n' (see --list)" >&2; exit 2 ;; esac
    done
  fi
  command -v perl >/dev/null || { echo "$(basename "$0") needs perl" >&2; exit 2; }
}

# True when fault $1 is among those asked for.
seed_selected() {
  [ -z "$only" ] || [[ "$only" == *",${names[$1]},"* ]]
}

# Mirrors the checked-out tree $1 (tracked files and new files not ignored, uncommitted edits
# included) into $2: a file whose content changed is copied (with a new time, so the build sees
# it); an unchanged one keeps its time; one no longer there is removed (the build globs its
# sources).
seed_mirror() {
  local repo=$1 tree=$2 list
  mkdir -p "$tree"
  list=$(mktemp)
  git -C "$repo" ls-files -co --exclude-standard | while IFS= read -r f; do
    [ -f "$repo/$f" ] && printf '%s\n' "$f"
  done | sort >"$list"
  (cd "$tree" && find . -path ./build -prune -o -type f -print | sed 's|^\./||' | sort) |
    comm -13 "$list" - | while IFS= read -r f; do rm -f "$tree/$f"; done
  while IFS= read -r f; do
    if ! cmp -s "$repo/$f" "$tree/$f" 2>/dev/null; then
      mkdir -p "$(dirname "$tree/$f")"
      cp "$repo/$f" "$tree/$f"
    fi
  done <"$list"
  rm -f "$list"
}

# Seeds fault $1 into the tree $2, keeping the file as it was in $3 for seed_restore. Returns
# 0 when seeded, 2 when the file is gone, 3 when the text is not there, 4 when it is there more
# than once (the file is left as it was).
seed_fault() {
  local target=$2/${files[$1]} rc=0
  [ -f "$target" ] || return 2
  cp "$target" "$3"
  FIND=${finds[$1]} REPL=${repls[$1]} perl -0777 -i -pe '
    my $n = () = /\Q$ENV{FIND}\E/g;
    s/\Q$ENV{FIND}\E/$ENV{REPL}/ if $n == 1;
    END { exit($n == 1 ? 0 : $n == 0 ? 3 : 4) }' "$target" || rc=$?
  [ "$rc" -eq 0 ] || cp "$3" "$target"
  return "$rc"
}

# Puts back the file fault $1 changed in the tree $2 (with a new time: the next build compiles
# it again).
seed_restore() {
  cp "$3" "$2/${files[$1]}"
}
