// Screens a settings document before the toolkit builds its tree. The
// toolkit frees a tree recursively, so a few ten thousand nested elements
// overflow the stack; a real document is about 1 KB and 4 levels deep, so
// anything far beyond that is refused while it is still only bytes.
#pragma once

#include <cstddef>

class CXmlLimits
{
public:
    static constexpr size_t kMaxSize = 64 * 1024;
    static constexpr unsigned kMaxDepth = 32;

    // True when the bytes are well-formed XML, at most kMaxSize long and
    // nested at most kMaxDepth elements deep (elements that entities expand
    // to included).
    static bool check(const void* pData, size_t nSize);
};
