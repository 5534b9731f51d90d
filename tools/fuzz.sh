#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60).
#   tools/fuzz.sh [SECONDS] [TARGET...]
# Each target runs in two parts: four fifths of the time with room
# (-timeout=60, -rss_limit_mb=2048), then a fifth with tight limits, so that
# work or memory that grows faster than the input is a finding as well. The INI
# and project targets take inputs up to 1 MB and also start from large
# generated files (a project, blank lines, comments, empty headers, one long
# line). Failing inputs land in fuzz/crashes/<target>/; keep them as regression
# cases (tst_fuzzcases runs them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"; shift || true
command -v clang++ >/dev/null || { echo "clang++ is needed (apt-get install clang libclang-rt-14-dev)"; exit 1; }
dir="$root/build-fuzz"
if [ ! -f "$dir/build.ninja" ]; then
  CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKABINOR_FUZZ=ON
fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=($(sed -n 's/^kabinor_add_fuzzer(\([a-z_]*\).*/\1/p' "$root/fuzz/CMakeLists.txt"))
cmake --build "$dir" --target "${targets[@]}"

# Large structured inputs, just under the 1 MB the INI and project targets take.
large_seeds() {
  local out="$1"
  mkdir -p "$out"
  awk 'BEGIN {
    n = 4000; m = 1500
    printf "[TP]\r\nSTP=400\r\nHS=1\r\nMaterial=Алюминий\r\nLength=0,5\r\nSection=35\r\n"
    printf "[Lines]\r\nSubItemCount=9\r\nLineCount=%d\r\n", n
    for (i = 1; i <= n; i++) {
      printf "[Line%d]\r\nLineName=Линия №%d\r\nChecked=True\r\n", i, i
      for (k = 1; k <= 9; k++) printf "SubItem%d=%d,%d\r\n", k, i % 97, k
    }
    printf "[Shields]\r\nTab1=ЩО1\r\nTab2=ЩО2\r\nTabsCount=2\r\nSubItemsCount=9\r\n[Loads1]\r\nLoadCount=%d\r\n", m
    for (j = 1; j <= m; j++) {
      printf "[Load1%d]\r\nLoadName=Нагрузка %d\r\n", j, j
      for (k = 1; k <= 9; k++) printf "SubItem%d=%d\r\n", k, j % 13
    }
    printf "[Loads2]\r\nLoadCount=1\r\n[Load2_1]\r\nLoadName=x\r\n"
  }' | head -c 1000000 > "$out/large-project.kbp" || true
  # (yes and awk end on a broken pipe once head has enough.)
  { printf '[Lines]\r\n'; yes $'\r' | head -c 999000 || true; } > "$out/blank-lines.ini"
  yes $'; комментарий к настройкам\r' | head -c 1000000 > "$out/comments.ini" || true
  yes $'[]\r' | head -c 1000000 > "$out/empty-headers.ini" || true
  { printf '[A]\r\nk='; head -c 999990 /dev/zero | tr '\0' 'x'; } > "$out/long-line.ini"
}

status=0
for t in "${targets[@]}"; do
  corpus="$dir/corpus/$t"; crashes="$root/fuzz/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  seeds=()
  [ -d "$root/fuzz/seeds/$t" ] && seeds+=("$root/fuzz/seeds/$t")
  limits=(-max_len=65536)
  case "$t" in
    fuzz_ini|fuzz_project|fuzz_lines)
      large_seeds "$dir/large-seeds"
      seeds+=("$dir/large-seeds")
      limits=(-max_len=1048576) ;;
  esac
  roomy=$(( seconds * 4 / 5 )); tight=$(( seconds - roomy ))
  (( roomy >= 1 )) || roomy=1; (( tight >= 1 )) || tight=1 # 0 would mean no limit
  echo "== $t for ${seconds}s (${tight}s of it with tight limits)"
  # A failure ends that target's run, not the others'.
  if ! "$dir/bin/$t" -max_total_time="$roomy" "${limits[@]}" -timeout=60 -rss_limit_mb=2048 \
      -artifact_prefix="$crashes/" "$corpus" "${seeds[@]}" > "$dir/$t.log" 2>&1; then
    status=1; echo "   FAILED, see $dir/$t.log and $crashes/"; continue
  fi
  echo "   no failure: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$dir/$t.log")"
  # With the sanitizers a 1 MB input takes up to about 5 s and 100 MB (60 ms
  # and a few MB without them); quadratic work takes minutes there, and memory
  # of hundreds of bytes a byte of input goes past the limit. The small
  # quarantine keeps freed memory from counting as used.
  if ! ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=5 \
      "$dir/bin/$t" -max_total_time="$tight" "${limits[@]}" -timeout=15 -rss_limit_mb=512 \
      -artifact_prefix="$crashes/" "$corpus" "${seeds[@]}" > "$dir/$t.tight.log" 2>&1; then
    status=1; echo "   FAILED with tight limits, see $dir/$t.tight.log and $crashes/"; continue
  fi
  echo "   no failure with tight limits: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$dir/$t.tight.log")"
done
exit $status
