// Records the toolkit's assertions, while it lives, instead of stopping on them.
#pragma once

#include <wx/debug.h>
#include <wx/string.h>

#include <vector>

class CAssertRecorder
{
public:
    CAssertRecorder() : m_pPrevious(wxSetAssertHandler(&handler)) { asserts().clear(); }
    ~CAssertRecorder() { wxSetAssertHandler(m_pPrevious); }
    // The condition texts, or for wxFAIL_MSG its message, seen so far.
    const std::vector<wxString>& getAsserts() const { return asserts(); }

private:
    static std::vector<wxString>& asserts()
    {
        static std::vector<wxString> s_astr;
        return s_astr;
    }
    static void handler(const wxString&, int, const wxString&, const wxString& strCond,
                        const wxString& strMsg)
    {
        asserts().push_back(strMsg.empty() ? strCond : strMsg);
    }

    wxAssertHandler_t m_pPrevious;
};
