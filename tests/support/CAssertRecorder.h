// Records the toolkit's assertions instead of stopping on them, for as long
// as it lives: the program runs silently past them, tests can expect them.
#pragma once

#include <wx/debug.h>
#include <wx/string.h>

#include <vector>

class CAssertRecorder
{
public:
    CAssertRecorder();
    ~CAssertRecorder();
    CAssertRecorder(const CAssertRecorder&) = delete;
    CAssertRecorder& operator=(const CAssertRecorder&) = delete;

    // The condition texts (or messages) seen so far.
    const std::vector<wxString>& getAsserts() const;
    void clear();

private:
    static void handler(const wxString& strFile, int nLine, const wxString& strFunc,
                        const wxString& strCond, const wxString& strMsg);

    wxAssertHandler_t m_pPrevious;
};
