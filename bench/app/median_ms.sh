# Sourced by the command-line benchmarks. median_ms RUNS COMMAND...: the
# median wall time and the median processor time (user + system of the
# child and whatever it waited for) in milliseconds of running COMMAND RUNS
# times, measured around the child process alone (no shell between). On a
# busy machine the wall time mostly measures waiting; the processor time
# does not.
median_ms() {
  python3 - "$@" <<'PY'
import os, statistics, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
walls, cpus = [], []
for _ in range(runs):
    start = time.perf_counter()
    child = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(child.pid, 0)
    walls.append((time.perf_counter() - start) * 1000)
    cpus.append((usage.ru_utime + usage.ru_stime) * 1000)
print(f"{statistics.median(walls):.1f} {statistics.median(cpus):.1f}")
PY
}
