#!/usr/bin/env bash
# Mutation check: does every rule the tests are meant to pin have a test that
# fails when the rule is broken? Each line of tests/mutants/mutants.txt breaks
# one rule by replacing an exact piece of text in one source file. For each,
# this script edits a scratch copy of the tree (build-mutants/tree, the
# working copy's files as they stand), builds it incrementally, runs the test
# programs the line names, puts the file back, and reports whether a test
# failed (killed) or none did (SURVIVED). About ten seconds a mutant once the
# scratch copy is built.
#
#   scripts/mutants.sh            every mutant of the list
#   scripts/mutants.sh 3 17       only mutants 3 and 17 (numbered as printed)
#
# MUTANTS_CMAKE_ARGS adds arguments to the scratch build's configuration (for
# example a compiler launcher). Exit status: 0 when every mutant was killed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

list="$root/tests/mutants/mutants.txt"
tree="$root/build-mutants/tree"
build="$tree/build"
jobs=$(nproc)

# The scratch copy: tracked and new files as they are in the working copy.
# Only files whose content differs are copied, and they get a new time stamp,
# so the build sees exactly what changed since the last run.
mkdir -p "$tree"
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
  if ! cmp -s "$file" "$tree/$file"; then
    mkdir -p "$tree/$(dirname "$file")" && cp "$file" "$tree/$file" ||
      { echo "mutants: cannot copy $file" >&2; exit 2; }
  fi
done || exit 2

echo "mutants: building the scratch copy in $build"
# shellcheck disable=SC2086
cmake -S "$tree" -B "$build" ${MUTANTS_CMAKE_ARGS:-} >/dev/null &&
  cmake --build "$build" -j"$jobs" >"$build/mutants-build.log" 2>&1 ||
  { echo "mutants: the unchanged tree does not build; see $build/mutants-build.log" >&2; exit 2; }

# Replaces the one occurrence of ORIGINAL in FILE by REPLACEMENT (\n and \t
# escapes in both). Status 3: not found; 4: found more than once.
mutate() {
  python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, original, replacement = sys.argv[1:4]
unescape = lambda text: text.replace("\\n", "\n").replace("\\t", "\t")
original, replacement = unescape(original), unescape(replacement)
text = open(path).read()
count = text.count(original)
if count != 1:
    sys.exit(3 if count == 0 else 4)
open(path, "w").write(text.replace(original, replacement))
EOF
}

# Builds the named test programs and what they run (the demo and the capture
# tool); an unchanged file is not compiled again.
build_for() {
  local targets=() entry
  for entry in "$@"; do
    targets+=("${entry%%:*}")
  done
  cmake --build "$build" -j"$jobs" --target "${targets[@]}" >"$build/mutant-build.log" 2>&1
}

# Runs each PROGRAM[:FILTER] with an X display; fails as soon as one fails. A
# mutant can make a program loop forever, so each run has a generous limit.
run_tests() {
  local entry program filter
  for entry in "$@"; do
    program=${entry%%:*}
    filter='*'
    [ "$program" != "$entry" ] && filter=${entry#*:}
    (cd "$build/tests" && bash "$root/scripts/with-x-server.sh" timeout 900 "./$program" --gtest_filter="$filter" \
      >"$build/mutant-test.log" 2>&1) || return 1
  done
}

mapfile -t lines < <(grep -v '^#' "$list" | grep -v '^[[:space:]]*$')
total=${#lines[@]}
declare -A wanted=()
for n in "$@"; do wanted[$n]=1; done

# Every test the list names must pass on the unchanged tree, or a failing
# test would count as a kill.
echo "mutants: checking that the named tests pass unchanged"
mapfile -t entries < <(printf '%s\n' "${lines[@]}" | cut -f4 | tr ' ' '\n' | sort -u)
if ! run_tests "${entries[@]}"; then
  echo "mutants: a named test fails on the unchanged tree:" >&2
  tail -30 "$build/mutant-test.log" >&2
  exit 2
fi

survivors=()
problems=()
ran=0
for i in "${!lines[@]}"; do
  n=$((i + 1))
  if [ ${#wanted[@]} -gt 0 ] && [ -z "${wanted[$n]:-}" ]; then
    continue
  fi
  IFS=$'\t' read -r file original replacement tests rule <<<"${lines[$i]}"
  read -r -a testList <<<"$tests"
  label="[$n/$total] $file: $rule"
  ran=$((ran + 1))
  if [ ! -f "$tree/$file" ]; then
    echo "NOT FOUND  $label (no such file)"
    problems+=("$label")
    continue
  fi
  saved=$(mktemp)
  cp "$tree/$file" "$saved"
  mutate "$tree/$file" "$original" "$replacement"
  status=$?
  if [ $status -ne 0 ]; then
    [ $status -eq 3 ] && echo "NOT FOUND  $label (the original text is not in the file)"
    [ $status -eq 4 ] && echo "AMBIGUOUS  $label (the original text occurs more than once)"
    [ $status -ne 3 ] && [ $status -ne 4 ] && echo "ERROR      $label"
    problems+=("$label")
    rm -f "$saved"
    continue
  fi
  if ! build_for "${testList[@]}"; then
    echo "NO BUILD   $label (the mutant does not compile; see a better mutation)"
    problems+=("$label")
  elif run_tests "${testList[@]}"; then
    echo "SURVIVED   $label"
    survivors+=("$label")
  else
    echo "killed     $label"
  fi
  # Put back with a new time stamp, so the next build compiles it again.
  cp "$saved" "$tree/$file"
  touch "$tree/$file"
  rm -f "$saved"
done

echo
echo "mutants: $ran run, $((ran - ${#survivors[@]} - ${#problems[@]})) killed, ${#survivors[@]} survived, ${#problems[@]} not applied"
for label in "${survivors[@]}"; do echo "  survived: $label"; done
for label in "${problems[@]}"; do echo "  not applied: $label"; done
[ ${#survivors[@]} -eq 0 ] && [ ${#problems[@]} -eq 0 ]
