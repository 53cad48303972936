// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the module interpreter. A module that decodes a table of DWORDs with #H in a
// LOOP must give at least 2 million rows a second; a module that loops over arithmetic
// alone must execute at least 20 million statements a second. The row case also runs a
// hand-written snprintf loop over the same table in the same run, as a reference.
// Rates are taken from the thread's CPU time, so that other load on the machine does not
// count against the interpreter.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleSet.h"

namespace {

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

struct Measured {
    double seconds = 0;
    double iterations = 0;
    double units = 0;  // rows or statements per iteration
    double Rate() const { return seconds > 0 ? units * iterations / seconds : 0; }
};
std::map<std::string, Measured> measured;

template <typename Body>
void Timed(benchmark::State& state, const std::string& name, double unitsPerIteration, Body body)
{
    Measured& m = measured[name];
    for (auto _ : state) {
        const double start = ThreadSeconds();
        body();
        m.seconds += ThreadSeconds() - start;
        m.iterations += 1;
    }
    m.units = unitsPerIteration;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * unitsPerIteration));
}

constexpr int kTableRows = 200000;

std::vector<uint8_t> Table()
{
    std::vector<uint8_t> data(kTableRows * 4);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
    return data;
}

void RowsModule(benchmark::State& state)
{
    static const std::vector<uint8_t> data = Table();
    qv::ModuleSet set;
    qv::ModuleCompiler(set).Compile("LOOP body " + std::to_string(kTableRows) +
                                        "\nEXIT\n:body DWORD \"Wert\" #H\nRETURN",
                                    "tabelle");
    qv::ModuleInterpreter interpreter(set);
    Timed(state, "rows", kTableRows, [&] {
        int rows = interpreter.Run(0, data.data(), static_cast<int32_t>(data.size()), 0, kTableRows, 0);
        if (rows != kTableRows) state.SkipWithError("wrong row count");
    });
}

void RowsSnprintf(benchmark::State& state)
{
    static const std::vector<uint8_t> data = Table();
    std::vector<std::string> rows;
    rows.reserve(kTableRows);
    Timed(state, "snprintf", kTableRows, [&] {
        rows.clear();
        char text[32];
        for (int i = 0; i < kTableRows; ++i) {
            const uint8_t* p = data.data() + 4 * i;
            unsigned value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24;
            std::snprintf(text, sizeof text, "0x%X ", value);
            rows.emplace_back(text);
        }
        benchmark::DoNotOptimize(rows.data());
    });
}

constexpr int kLoops = 1000000;
constexpr int kStatementsPerLoop = 5;

void ArithmeticModule(benchmark::State& state)
{
    static const std::vector<uint8_t> data(16);
    qv::ModuleSet set;
    qv::ModuleCompiler(set).Compile(":x MOV x 1\n:n MOV n 0\n:top ADD x 7\nMUL x 3\nAND x 0xFFFF\nADD n 1\n"
                                    "IF n < " + std::to_string(kLoops) + " GOTO top",
                                    "rechnen");
    qv::ModuleInterpreter interpreter(set);
    Timed(state, "statements", 2.0 + double(kLoops) * kStatementsPerLoop, [&] {
        interpreter.Run(0, data.data(), static_cast<int32_t>(data.size()), 0, 10, 0);
        benchmark::DoNotOptimize(set.statements.data());
    });
}

BENCHMARK(RowsModule)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(RowsSnprintf)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(ArithmeticModule)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    double rows = measured["rows"].Rate(), reference = measured["snprintf"].Rate();
    double statements = measured["statements"].Rate();
    std::printf("\nDWORD table, #H in a LOOP: %.2f million rows/s (target 2.0: %.2fx; snprintf loop %.2f million/s: %.2fx)\n",
                rows / 1e6, rows / 2e6, reference / 1e6, reference > 0 ? rows / reference : 0.0);
    std::printf("arithmetic loop: %.1f million statements/s (target 20: %.2fx)\n", statements / 1e6,
                statements / 20e6);
    return 0;
}
