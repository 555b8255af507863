// Assertions in tests: silent by default, as in the editor; a test that
// expects one records the messages while a CDataCardAssertLog is alive.
#pragma once

#include <wx/debug.h>
#include <wx/string.h>

#include <vector>

class CDataCardAssertLog
{
public:
    CDataCardAssertLog();
    ~CDataCardAssertLog();
    CDataCardAssertLog(const CDataCardAssertLog&) = delete;
    CDataCardAssertLog& operator=(const CDataCardAssertLog&) = delete;

    // The messages of the assertions that fired, in order.
    const std::vector<wxString>& messages() const;
    size_t count(const wxString& strMessage) const;
    void clear();

private:
    wxAssertHandler_t m_pPrevious;
};
