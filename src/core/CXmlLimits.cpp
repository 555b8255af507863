#include "CXmlLimits.h"

#include <expat.h>

namespace
{
struct SScan
{
    XML_Parser pParser;
    unsigned nDepth;
};

void XMLCALL onStart(void* pUser, const XML_Char*, const XML_Char**)
{
    SScan* pScan = static_cast<SScan*>(pUser);
    if (++pScan->nDepth > CXmlLimits::kMaxDepth)
        XML_StopParser(pScan->pParser, XML_FALSE);
}

void XMLCALL onEnd(void* pUser, const XML_Char*)
{
    --static_cast<SScan*>(pUser)->nDepth;
}

// The toolkit accepts any single-byte encoding it can convert; the markup of
// such a document is ASCII, so mapping every byte to itself shows the same
// structure.
int XMLCALL onUnknownEncoding(void*, const XML_Char*, XML_Encoding* pInfo)
{
    for (int i = 0; i < 256; ++i)
        pInfo->map[i] = i;
    pInfo->data = nullptr;
    pInfo->convert = nullptr;
    pInfo->release = nullptr;
    return XML_STATUS_OK;
}
} // namespace

bool CXmlLimits::check(const void* pData, size_t nSize)
{
    if (nSize > kMaxSize)
        return false;
    SScan scan{XML_ParserCreate(nullptr), 0};
    if (scan.pParser == nullptr)
        return false;
    XML_SetUserData(scan.pParser, &scan);
    XML_SetElementHandler(scan.pParser, onStart, onEnd);
    XML_SetUnknownEncodingHandler(scan.pParser, onUnknownEncoding, nullptr);
    const bool bOk = XML_Parse(scan.pParser, static_cast<const char*>(pData),
                               static_cast<int>(nSize), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(scan.pParser);
    return bOk;
}
