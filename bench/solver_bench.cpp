// Solver benchmarks: the main window's layout by the real ui code (built
// once, laid out on every resize) and a larger chain that shows how the
// solver scales.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "solver/solver.h"
#include "tests/ui/plain_main_panel.h"

namespace {

using namespace solver;

void buildWindowSystem(benchmark::State& state) {
    for (auto _ : state) {
        uitest::PlainMainPanel panel;
        benchmark::DoNotOptimize(panel.layout());
    }
}
BENCHMARK(buildWindowSystem)->Name("window: build (24 edits, 16 equalities)")->Unit(benchmark::kMicrosecond);

// One pass per iteration, the panel growing and shrinking by a pixel as a
// drag would.
void layoutPass(benchmark::State& state) {
    uitest::PlainMainPanel panel;
    panel.pass({640, 360});
    int step = 0;
    for (auto _ : state) {
        int offset = step < 200 ? step : 400 - step;
        step = (step + 1) % 400;
        panel.pass({640 + offset, 360 + offset / 2});
        benchmark::DoNotOptimize(panel.window(uitest::contactLink).rect);
    }
}
BENCHMARK(layoutPass)
    ->Name("window: layout pass while resizing (24 suggestions + refresh)")
    ->Unit(benchmark::kMicrosecond);

void layoutPassSameSize(benchmark::State& state) {
    uitest::PlainMainPanel panel;
    panel.pass({640, 360});
    for (auto _ : state) {
        panel.pass({640, 360});
        benchmark::DoNotOptimize(panel.window(uitest::contactLink).rect);
    }
}
BENCHMARK(layoutPassSameSize)->Name("window: layout pass at the same size")->Unit(benchmark::kMicrosecond);

// x[0] >= 0, x[i+1] >= x[i] + 10, x[n-1] <= 20 n, all required; then every
// variable an edit variable at 0.1, suggested at 15 i.
constexpr int chainLength = 1000;

struct Chain {
    Solver solver = newSolver();
    std::vector<VariableRef> variables;

    Chain() {
        for (int i = 0; i < chainLength; ++i) variables.push_back(makeVariable(0));
        auto single = [](const VariableRef& v, double constant) {
            return expressionOfTerm(makeTerm(v, 1.0), constant);
        };
        addConstraint(solver, makeConstraint(single(variables[0], 0.0), relGreaterEqual));
        for (int i = 0; i + 1 < chainLength; ++i) {
            ExpressionRef gap = offsetExpression(
                expressionOfTerms(makeTerm(variables[i + 1], 1.0), makeTerm(variables[i], -1.0)), -10.0);
            addConstraint(solver, makeConstraint(gap, relGreaterEqual));
        }
        addConstraint(solver, makeConstraint(single(variables.back(), -20.0 * chainLength), relLessEqual));
        for (int i = 0; i < chainLength; ++i) {
            addEditVariable(solver, variables[i], 0.1);
            suggestValue(solver, variables[i], 15.0 * i);
        }
        refreshVariableValues(solver);
    }
};

void buildChain(benchmark::State& state) {
    for (auto _ : state) {
        Chain chain;
        benchmark::DoNotOptimize(chain.variables.back()->value);
    }
}
BENCHMARK(buildChain)
    ->Name("chain of 1000: build (1001 inequalities, 1000 edits)")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 1,000 cycles of one suggestion and a refresh of all 1,000 values. Local
// moves stay within a few places of where the chain started, as a drag
// would; jumps send a variable anywhere and push long runs of neighbours,
// which leaves the tableau ever denser: a worst case, not a use.
void chainSuggestRefresh(benchmark::State& state, bool jumps) {
    Chain chain;
    std::uint64_t k = 0, cycle = 0;
    for (auto _ : state) {
        k = (k + 7919) % chainLength;
        ++cycle;
        double target = jumps ? static_cast<double>((k * 104729) % (20 * chainLength))
                              : 15.0 * static_cast<double>(k) + static_cast<double>((cycle * 37) % 61) - 30.0;
        suggestValue(chain.solver, chain.variables[k], target);
        refreshVariableValues(chain.solver);
    }
    benchmark::DoNotOptimize(chain.variables.back()->value);
}
BENCHMARK_CAPTURE(chainSuggestRefresh, local, false)
    ->Name("chain of 1000: one local suggestion + refresh")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1000);
BENCHMARK_CAPTURE(chainSuggestRefresh, jumps, true)
    ->Name("chain of 1000: one jumping suggestion + refresh")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();
