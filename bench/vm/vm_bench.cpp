// Speed of the interpreter on the hot paths, with a line hook installed as the player
// installs one (a hook that looks at the window thread's quit request on every new line
// and backward jump).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "asm/assembler.h"
#include "vm/api.h"

namespace tembrovia {
namespace {

std::atomic<bool> quitRequested{false};

ErrorCode PlayerLineHook(VMState* L, const HookEvent&) {
  if (quitRequested.load(std::memory_order_relaxed)) SetStopFlag(L);
  return ERR_NONE;
}

// A state with the hook, the chunk loaded and ready to call.
class ScriptRun {
 public:
  explicit ScriptRun(const char* text) : L(NewState()) {
    if (!std::getenv("VM_BENCH_NO_HOOK")) SetHook(L, PlayerLineHook, HookMaskLine, 0);
    AssemblyResult chunk = Assemble(text);
    if (!chunk.ok() || LoadBuffer(L, chunk.chunk.data(), chunk.chunk.size(), "=bench") != ERR_NONE) {
      std::abort();
    }
    ref_ = RegistryRef(L);
  }
  ~ScriptRun() { CloseState(L); }

  double Call() {
    PushRegistryRef(L, ref_);
    if (ProtectedCall(L, 0, 1) != ERR_NONE) std::abort();
    double result = ToNumber(L, -1);
    SetTop(L, 0);
    return result;
  }

  VMState* L;

 private:
  int ref_;
};

const char* const kNumericLoop = R"(
  .line 1
        loadconst r0, 0
        loadconst r1, 0
        loadconst r2, 100000000
        loadconst r3, 1
        jump test
  .line 2
  body: add r0, r0, r1
  .line 1
  test: numloop r1, body
  .line 3
        return r0, 2
)";

void BM_NumericLoop(benchmark::State& state) {
  ScriptRun run(kNumericLoop);
  for (auto _ : state) benchmark::DoNotOptimize(run.Call());
}
BENCHMARK(BM_NumericLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

const char* const kFib = R"(
  .function fib
    .params 1
    .linedefined 1
    .line 2
        ifless 1, r0, 2
        jump small
    .line 3
        readglobal r1, "fib"
        sub r2, r0, 1
        call r1, 2, 2
        readglobal r2, "fib"
        sub r3, r0, 2
        call r2, 2, 2
        add r1, r1, r2
        return r1, 2
    .line 4
  small: return r0, 2
  .end
  .line 6
        makeclosure r0, fib
        writeglobal r0, "fib"
        loadconst r1, 32
        call r0, 2, 2
        return r0, 2
)";

void BM_Fib32(benchmark::State& state) {
  ScriptRun run(kFib);
  for (auto _ : state) {
    double result = run.Call();
    if (result != 2178309) std::abort();
  }
}
BENCHMARK(BM_Fib32)->Unit(benchmark::kMillisecond)->Iterations(3);

const char* const kArrayFillAndSum = R"(
  .line 1
        maketable r0, 0, 0
        loadconst r1, 0
        loadconst r2, 5000000
        loadconst r3, 1
        jump fill_test
  .line 2
  fill: writefield r0, r1, r1
  .line 1
  fill_test: numloop r1, fill
  .line 3
        loadconst r4, 0          ; sum
        loadconst r5, 0          ; pass
        loadconst r6, 10
        loadconst r7, 1
        jump pass_test
  .line 4
  pass: loadconst r8, 0
        loadconst r9, 5000000
        loadconst r10, 1
        jump sum_test
  .line 5
  sum:  readfield r11, r0, r8
        add r4, r4, r11
  .line 4
  sum_test: numloop r8, sum
  .line 3
  pass_test: numloop r5, pass
  .line 6
        return r4, 2
)";

void BM_ArrayFillAndSumTenTimes(benchmark::State& state) {
  ScriptRun run(kArrayFillAndSum);
  for (auto _ : state) {
    double result = run.Call();
    if (result != 10 * 12500002500000.0) std::abort();
  }
}
BENCHMARK(BM_ArrayFillAndSumTenTimes)->Unit(benchmark::kMillisecond)->Iterations(3);

const char* const kStringKeys = R"(
  .line 1
        maketable r0, 0, 0
        loadconst r1, -1
        loadconst r2, 999999
        loadconst r3, 1
        jump test
  .line 2
  body: mod r5, r1, 1000
        loadconst r4, "key"
        join r4, r4, r5
        writefield r0, r4, r1
  .line 1
  test: numloop r1, body
  .line 3
        readfield r6, r0, "key999"
        return r6, 2
)";

void BM_StringKeyStores(benchmark::State& state) {
  ScriptRun run(kStringKeys);
  for (auto _ : state) {
    double result = run.Call();
    if (result != 999999) std::abort();
  }
}
BENCHMARK(BM_StringKeyStores)->Unit(benchmark::kMillisecond)->Iterations(3);

// Memory: the bytes an empty state holds, and a table of 10^6 numbers in its array part.
void BM_Memory(benchmark::State& state) {
  size_t emptyState = 0, table = 0;
  for (auto _ : state) {
    VMState* L = NewState();
    CollectGarbage(L);
    emptyState = GetBytesInUse(L);
    NewTable(L);
    for (int i = 1; i <= 1000000; ++i) {
      PushNumber(L, i);
      RawSetI(L, 1, i);
    }
    CollectGarbage(L);
    table = GetBytesInUse(L) - emptyState;
    CloseState(L);
  }
  state.counters["empty_state_KiB"] = static_cast<double>(emptyState) / 1024;
  state.counters["table_1e6_MiB"] = static_cast<double>(table) / (1024 * 1024);
}
BENCHMARK(BM_Memory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tembrovia

BENCHMARK_MAIN();
