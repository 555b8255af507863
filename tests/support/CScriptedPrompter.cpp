#include "CScriptedPrompter.h"

void CScriptedPrompter::clear()
{
    m_anIndexAnswers.clear();
    m_astrFileAnswers.clear();
    m_aReports.clear();
    m_aChoices.clear();
    m_aFileRequests.clear();
}

void CScriptedPrompter::report(const wxString& strTitle, const wxString& strText)
{
    m_aReports.push_back({strTitle, strText});
}

wxString CScriptedPrompter::chooseFile(EFileDialog eKind, const wxString& strMessage,
                                       const wxString& strDir, const wxString& strDefaultFile,
                                       const wxString& strWildcard)
{
    m_aFileRequests.push_back({eKind, strMessage, strDir, strDefaultFile, strWildcard});
    if (m_astrFileAnswers.empty())
        return wxString();
    const wxString strPath = m_astrFileAnswers.front();
    m_astrFileAnswers.pop_front();
    return strPath;
}

int CScriptedPrompter::chooseIndex(const wxString& strMessage, const wxString& strCaption,
                                   const wxArrayString& astrChoices)
{
    m_aChoices.push_back({strMessage, strCaption, astrChoices});
    if (m_anIndexAnswers.empty())
        return -1;
    const int nIndex = m_anIndexAnswers.front();
    m_anIndexAnswers.pop_front();
    return nIndex;
}
