# Solver benchmarks.
# bench_solver ROOT BUILD_DIR [ARGS...]: configures BUILD_DIR as a native
# RelWithDebInfo build of the tree at ROOT, builds the solver_bench target and
# runs it with ARGS; each line of its table is the time of one operation.

bench_solver() {
  local root=$1 build=$2
  shift 2
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
  ninja -C "$build" solver_bench >/dev/null || { ninja -C "$build" solver_bench; return 1; }
  "$build/bench/solver_bench" --benchmark_format=console "$@"
}
