# Sourced by the benchmark scripts: two commands timed as whole programs in pairs, one run of
# each per pair, which goes first taking turns, so that a busy moment of a shared machine falls on
# both sides of a ratio. Each pair is one hyperfine session of one run per command (wall and CPU
# time); `/usr/bin/time` gives each run's peak memory when PAIRED_MEMORY=1.
#
#   paired_runs OUT PAIRS NAME_A "COMMAND A" NAME_B "COMMAND B" [hyperfine options...]
#   paired_summary OUT          a line: min / median of both sides and of the paired ratio B / A
#
# OUT is a folder of its own for the pair's files.

paired_runs() {
  local out=$1 pairs=$2 name_a=$3 command_a=$4 name_b=$5 command_b=$6
  shift 6
  mkdir -p "$out"
  printf '%s\n%s\n' "$name_a" "$name_b" >"$out/names"
  local pair
  for ((pair = 0; pair < pairs; ++pair)); do
    if ((pair % 2 == 0)); then
      hyperfine "$@" --runs 1 --export-json "$out/$pair.json" -n a "$command_a" -n b "$command_b" >/dev/null
    else
      hyperfine "$@" --runs 1 --export-json "$out/$pair.json" -n b "$command_b" -n a "$command_a" >/dev/null
    fi
    if [[ ${PAIRED_MEMORY:-0} == 1 ]]; then
      # shellcheck disable=SC2086  # the commands are word lists, as hyperfine takes them
      /usr/bin/time -f %M -o "$out/$pair.a.kb" $command_a >/dev/null 2>&1 || true
      # shellcheck disable=SC2086
      /usr/bin/time -f %M -o "$out/$pair.b.kb" $command_b >/dev/null 2>&1 || true
    fi
  done
}

paired_summary() {
  python3 - "$1" <<'PY'
import glob, json, os, statistics, sys
out = sys.argv[1]
name_a, name_b = open(os.path.join(out, "names")).read().split("\n")[:2]
wall = {"a": [], "b": []}
cpu = {"a": [], "b": []}
memory = {"a": [], "b": []}
for path in sorted(glob.glob(os.path.join(out, "*.json"))):
    for result in json.load(open(path))["results"]:
        side = result["command"]
        wall[side].append(result["times"][0])
        cpu[side].append(result["user"] + result["system"])
    for side in "ab":
        kb = path[:-5] + f".{side}.kb"
        if os.path.exists(kb):
            memory[side].append(int(open(kb).read().split()[-1]))
def line(label, values, unit, scale):
    a, b = values["a"], values["b"]
    ratios = [y / x for x, y in zip(a, b) if x > 0]
    print(f"  {label}: {name_a} min {min(a) * scale:.3f} / median {statistics.median(a) * scale:.3f} {unit}, "
          f"{name_b} min {min(b) * scale:.3f} / median {statistics.median(b) * scale:.3f} {unit}; "
          f"{name_b} / {name_a} paired ratio min {min(ratios):.3f}, median {statistics.median(ratios):.3f}")
print(f"{name_b} against {name_a}, {len(wall['a'])} pairs:")
line("wall", wall, "ms", 1e3)
line("CPU", cpu, "ms", 1e3)
if memory["a"] and memory["b"]:
    line("peak memory", memory, "MiB", 1 / 1024)
PY
}
