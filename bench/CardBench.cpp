// The write command fills 1 MiB of filler on the user-interface thread; the
// read command unscrambles one sector. Building should cost little more than
// its filler, parsing a few microseconds.
#include "CDataCard.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{
void BM_FillerPlain(benchmark::State& state)
{
    // One draw at a time, as the generator is defined.
    std::vector<uint8_t> ac(CDataCard::kImageSize);
    uint32_t nSeed = 0x24FF;
    for (auto _ : state)
    {
        uint32_t nState = nSeed++;
        for (uint8_t& c : ac)
        {
            nState = nState * 214013u + 2531011u;
            c = static_cast<uint8_t>(nState >> 16);
        }
        benchmark::DoNotOptimize(ac.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * CDataCard::kImageSize);
}
BENCHMARK(BM_FillerPlain)->Unit(benchmark::kMicrosecond);

void BM_Filler(benchmark::State& state)
{
    std::vector<uint8_t> ac(CDataCard::kImageSize);
    uint32_t nSeed = 0x24FF;
    for (auto _ : state)
    {
        CDataCard::fillFiller(ac.data(), ac.size(), nSeed++);
        benchmark::DoNotOptimize(ac.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * CDataCard::kImageSize);
}
BENCHMARK(BM_Filler)->Unit(benchmark::kMicrosecond);

void BM_Build(benchmark::State& state)
{
    auto pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(pCard->buildWrite(sys, tool));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * CDataCard::kImageSize);
}
BENCHMARK(BM_Build)->Unit(benchmark::kMicrosecond);

void BM_Parse(benchmark::State& state)
{
    // readPar unscrambles in place: every round starts from the stored
    // sector again, and the 512-byte copy is part of the measured time.
    auto pCard = std::make_unique<CDataCard>();
    SysPar sys;
    ToolPar tool;
    CDataCard::setDefaultPar(sys, tool);
    pCard->buildWrite(sys, tool);
    uint8_t acStored[CDataCard::kSectorSize];
    std::memcpy(acStored, pCard->getImage(), sizeof acStored);
    for (auto _ : state)
    {
        std::memcpy(pCard->getImage(), acStored, sizeof acStored);
        benchmark::ClobberMemory();
        if (!pCard->readPar(sys, tool, 0))
        {
            state.SkipWithError("readPar failed");
            break;
        }
        benchmark::DoNotOptimize(sys);
        benchmark::DoNotOptimize(tool);
    }
}
BENCHMARK(BM_Parse);
} // namespace
