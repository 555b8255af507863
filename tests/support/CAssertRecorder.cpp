#include "CAssertRecorder.h"

namespace
{
std::vector<wxString> g_astrAsserts;
}

CAssertRecorder::CAssertRecorder() : m_pPrevious(wxSetAssertHandler(&CAssertRecorder::handler))
{
    g_astrAsserts.clear();
}

CAssertRecorder::~CAssertRecorder()
{
    wxSetAssertHandler(m_pPrevious);
}

const std::vector<wxString>& CAssertRecorder::getAsserts() const
{
    return g_astrAsserts;
}

void CAssertRecorder::clear()
{
    g_astrAsserts.clear();
}

void CAssertRecorder::handler(const wxString&, int, const wxString&, const wxString& strCond,
                              const wxString& strMsg)
{
    // wxFAIL_MSG("false") arrives as the message; a failed check as its condition.
    g_astrAsserts.push_back(strMsg.empty() ? strCond : strMsg);
}
