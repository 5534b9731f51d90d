#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60).
#   tools/fuzz.sh [SECONDS] [TARGET...]
# Crashing inputs land in fuzz/crashes/<target>/; keep them as regression cases.
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
for t in "${targets[@]}"; do
  corpus="$dir/corpus/$t"; crashes="$root/fuzz/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  seeds="$root/fuzz/seeds/$t"
  echo "== $t for ${seconds}s"
  # A crash ends that target's run, not the others'.
  "$dir/bin/$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$crashes/" "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) > "$dir/$t.log" 2>&1 \
      && echo "   no failure: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$dir/$t.log")" \
      || { status=1; echo "   FAILED, see $dir/$t.log and $crashes/"; }
done
exit ${status:-0}
