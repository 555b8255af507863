// Everything zoltcfg prints on standard output goes through here, so that a
// failed write (a full disk, a closed pipe) is noticed and its reason kept:
// the tool then says so and exits with a failure instead of 0.
#pragma once

#include <wx/string.h>

#include <cstddef>

class CStdOut
{
public:
    // Text in the file-name encoding: names print as the bytes they are.
    static bool print(const wxString& str);
    static bool write(const void* pData, size_t nLength);
    // Flushes; false when anything written so far did not reach its place.
    static bool flush();
    // The system's reason for the first failure, or empty.
    static const wxString& getLastError();
    // A failure that a command has already reported is not reported again.
    static void setReported() { s_bReported = true; }
    static bool isReported() { return s_bReported; }

private:
    static bool fail(int nErrno);

    static wxString s_strLastError;
    static bool s_bReported;
};
