// Plain, unoptimised restatements of the card layout, written from the
// format description, that the tests hold the real code against.
#pragma once

#include "ZoltPar.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ref
{
template <class T> std::vector<uint8_t> bytes(const T& r)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&r);
    return std::vector<uint8_t>(p, p + sizeof(T));
}

template <class T> void randomize(T& r, std::mt19937& rGen)
{
    uint8_t* p = reinterpret_cast<uint8_t*>(&r);
    for (size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<uint8_t>(rGen());
}

// One draw at a time, bits 16 ... 30 of each new state, low byte kept.
inline std::vector<uint8_t> filler(uint32_t nSeed, size_t nLength = 1u << 20)
{
    std::vector<uint8_t> ac(nLength);
    uint32_t nState = nSeed;
    for (size_t i = 0; i < nLength; ++i)
    {
        nState = nState * 214013u + 2531011u;
        ac[i] = static_cast<uint8_t>(((nState >> 16) & 0x7FFF) & 0xFF);
    }
    return ac;
}

// 193, then each 222 lower, modulo the sector.
inline std::vector<uint32_t> positions()
{
    std::vector<uint32_t> an;
    for (int i = 0, nPos = 193; i < 256; ++i, nPos = ((nPos - 222) % 512 + 512) % 512)
        an.push_back(static_cast<uint32_t>(nPos));
    return an;
}

inline uint32_t plus111(uint32_t p)
{
    return (p + 111) % 512;
}

inline uint32_t minus111(uint32_t p)
{
    return (p + 512 - 111) % 512;
}

// Bitwise, most significant bit first.
inline uint16_t crc(const uint8_t* p, size_t n)
{
    uint32_t c = 0;
    for (size_t i = 0; i < n; ++i)
        for (int nBit = 7; nBit >= 0; --nBit)
        {
            const bool bIn = ((p[i] >> nBit) & 1) != 0;
            const bool bTop = (c & 0x8000) != 0;
            c = (c << 1) & 0xFFFF;
            if (bIn != bTop)
                c ^= 0x1021;
        }
    return static_cast<uint16_t>(c);
}

// Writes the CRC of the first n - 2 bytes into the last two, low byte first.
inline void close(uint8_t* p, size_t n)
{
    const uint16_t c = crc(p, n - 2);
    p[n - 2] = static_cast<uint8_t>(c);
    p[n - 1] = static_cast<uint8_t>(c >> 8);
}

template <class T> bool crcHolds(const T& r)
{
    const std::vector<uint8_t> ac = bytes(r);
    return crc(ac.data(), ac.size() - 2) == (ac[ac.size() - 2] | (ac.back() << 8));
}

// Header, both records, terminator.
inline std::vector<uint8_t> payload(const SysPar& rSys, const ToolPar& rTool)
{
    std::vector<uint8_t> ac(43, 0);
    ac[0] = 0x60;
    ac[1] = 43;
    ac[2] = 1;
    close(ac.data(), 43);
    const uint8_t* pSys = reinterpret_cast<const uint8_t*>(&rSys);
    const uint8_t* pTool = reinterpret_cast<const uint8_t*>(&rTool);
    ac.insert(ac.end(), pSys, pSys + sizeof(SysPar));
    ac.insert(ac.end(), pTool, pTool + sizeof(ToolPar));
    for (uint8_t c : {0x00, 0x04, 0x84, 0x40})
        ac.push_back(c);
    return ac;
}

// The whole image for one payload in sector 0.
inline std::vector<uint8_t> image(const std::vector<uint8_t>& acPayload)
{
    std::vector<uint8_t> ac = filler(crc(acPayload.data(), acPayload.size()));
    const std::vector<uint32_t> an = positions();
    for (size_t i = 0; i < acPayload.size(); ++i)
        ac[an[i]] = ac[plus111(an[i])] ^ ac[minus111(an[i])] ^ acPayload[i];
    return ac;
}
} // namespace ref
