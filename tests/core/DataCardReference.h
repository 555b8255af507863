// Plain, unoptimised restatements of the card layout that the tests hold
// the real code against.
#pragma once

#include "CDataCard.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ref
{
using Bytes = std::vector<uint8_t>;

template <class T> Bytes bytes(const T& r)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&r);
    return Bytes(p, p + sizeof(T));
}

template <class T> void randomize(T& r, std::mt19937& rGen)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        reinterpret_cast<uint8_t*>(&r)[i] = static_cast<uint8_t>(rGen());
}

// One draw at a time, bits 16 ... 23 of each new state.
inline Bytes filler(uint32_t nState, size_t nLength = 1u << 20)
{
    Bytes ac(nLength);
    for (uint8_t& c : ac)
        c = static_cast<uint8_t>((nState = nState * 214013u + 2531011u) >> 16);
    return ac;
}

// Payload byte i sits at position(i), masked by the bytes 111 either side.
inline uint32_t position(size_t i)
{
    return static_cast<uint32_t>((193 + 290 * i) % 512);
}

// Bitwise, most significant bit first.
inline uint16_t crc(const uint8_t* p, size_t n)
{
    uint32_t c = 0;
    for (size_t i = 0; i < n; ++i)
        for (int nBit = 7; nBit >= 0; --nBit)
            c = ((c << 1) & 0xFFFF) ^ (((p[i] >> nBit & 1) != (c >> 15 & 1)) ? 0x1021 : 0);
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
    const Bytes ac = bytes(r);
    return crc(ac.data(), ac.size() - 2) == (ac[ac.size() - 2] | (ac.back() << 8));
}

// A framed record: type, length, version 1, filler, CRC.
inline Bytes record(uint8_t cType, size_t nLength, uint8_t cFill = 0)
{
    Bytes ac(nLength, cFill);
    ac[0] = cType;
    ac[1] = static_cast<uint8_t>(nLength);
    ac[2] = 1;
    close(ac.data(), nLength);
    return ac;
}

inline Bytes chain(std::initializer_list<Bytes> aRecords)
{
    Bytes ac;
    for (const Bytes& r : aRecords)
        ac.insert(ac.end(), r.begin(), r.end());
    return ac;
}

// Header, both records, terminator.
inline Bytes payload(const SysPar& rSys, const ToolPar& rTool)
{
    return chain({record(0x60, 43), bytes(rSys), bytes(rTool), Bytes{0x00, 0x04, 0x84, 0x40}});
}

// The whole image for one payload in sector 0.
inline Bytes image(const Bytes& acPayload)
{
    Bytes ac = filler(crc(acPayload.data(), acPayload.size()));
    for (size_t i = 0; i < acPayload.size(); ++i)
    {
        const uint32_t n = position(i);
        ac[n] = ac[(n + 111) % 512] ^ ac[(n + 401) % 512] ^ acPayload[i];
    }
    return ac;
}

// Default records, and their checking.
struct Pair
{
    SysPar sys;
    ToolPar tool;
    Pair() { CDataCard::setDefaultPar(sys, tool); }
    Pair& check()
    {
        CDataCard::checkPar(sys, tool);
        return *this;
    }
};
} // namespace ref
