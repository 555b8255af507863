#include "CSafeFileWriter.h"

#include "SafeFileWriterPlatform.h"

#include <cerrno>
#include <cstring>

namespace
{
thread_local wxString t_strLastError;
} // namespace

bool safefile::fail(const wxString& strWhat, int nErrno)
{
    t_strLastError = strWhat;
    if (nErrno != 0)
        t_strLastError += ": " + wxString(strerror(nErrno));
    return false;
}

bool safefile::failWith(const wxString& strWhat, const wxString& strReason)
{
    t_strLastError = strWhat + ": " + strReason;
    return false;
}

bool safefile::produce(const wxString& strPath, const CSafeFileWriter::FnProducer& fnProduce,
                       std::string& rstrContent)
{
    errno = 0;
    return fnProduce(
               [&rstrContent](const void* p, size_t n)
               {
                   rstrContent.append(static_cast<const char*>(p), n);
                   return true;
               }) ||
           fail(strPath, errno);
}

const wxString& CSafeFileWriter::getLastError()
{
    return t_strLastError;
}

bool CSafeFileWriter::write(const wxString& strPath, const void* pData, size_t nLength)
{
    return write(strPath, [pData, nLength](const FnSink& fnSink)
                 { return nLength == 0 || fnSink(pData, nLength); });
}

bool CSafeFileWriter::write(const wxString& strPath, const FnProducer& fnProduce)
{
    t_strLastError.clear();
    if (strPath.empty())
        return safefile::fail("no file name", 0);
    return safefile::writeFile(strPath, fnProduce);
}
