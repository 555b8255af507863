#include "CScriptedPrompter.h"

namespace
{
// The next scripted answer, or the cancel when none is left.
template <typename T> T next(std::deque<T>& rQueue, const T& cancel)
{
    if (rQueue.empty())
        return cancel;
    const T answer = rQueue.front();
    rQueue.pop_front();
    return answer;
}
} // namespace

void CScriptedPrompter::clear()
{
    *this = CScriptedPrompter();
}

wxString CScriptedPrompter::chooseFile(EFileDialog eKind, const wxString& strMessage,
                                       const wxString& strDir, const wxString& strDefaultFile,
                                       const wxString& strWildcard)
{
    m_aFileRequests.push_back({eKind, strMessage, strDir, strDefaultFile, strWildcard});
    return next(m_astrFileAnswers, wxString());
}

int CScriptedPrompter::chooseIndex(const wxString& strMessage, const wxString& strCaption,
                                   const wxArrayString& astrChoices)
{
    m_aChoices.push_back({strMessage, strCaption, astrChoices});
    return next(m_anIndexAnswers, -1);
}
