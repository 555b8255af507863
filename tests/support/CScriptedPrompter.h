// Records reports and questions; answers from queues, else cancels.
#pragma once

#include "CPrompter.h"

#include <deque>
#include <functional>
#include <vector>

class CScriptedPrompter : public CPrompter
{
public:
    struct Report
    {
        wxString strTitle, strText;
    };
    struct Choice
    {
        wxString strMessage, strCaption;
        wxArrayString astrChoices;
    };
    struct FileRequest
    {
        EFileDialog eKind;
        wxString strMessage, strDir, strDefaultFile, strWildcard;
    };

    void answerIndex(int nIndex) { m_anIndexAnswers.push_back(nIndex); }
    void answerFile(const wxString& strPath) { m_astrFileAnswers.push_back(strPath); }
    // Run while each index choice is open, as a user who pulls a card meanwhile.
    void whileChoosing(std::function<void()> fn) { m_fnWhileChoosing = std::move(fn); }
    const std::vector<Report>& getReports() const { return m_aReports; }
    const std::vector<Choice>& getChoices() const { return m_aChoices; }
    const std::vector<FileRequest>& getFileRequests() const { return m_aFileRequests; }
    void clear() { *this = CScriptedPrompter(); }

    void report(const wxString& strTitle, const wxString& strText) override
    {
        m_aReports.push_back({strTitle, strText});
    }
    wxString chooseFile(EFileDialog eKind, const wxString& strMessage, const wxString& strDir,
                        const wxString& strDefaultFile, const wxString& strWildcard) override
    {
        m_aFileRequests.push_back({eKind, strMessage, strDir, strDefaultFile, strWildcard});
        return next(m_astrFileAnswers, wxString());
    }
    int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                    const wxArrayString& astrChoices) override
    {
        m_aChoices.push_back({strMessage, strCaption, astrChoices});
        if (m_fnWhileChoosing)
            m_fnWhileChoosing();
        return next(m_anIndexAnswers, -1);
    }

private:
    template <typename T> static T next(std::deque<T>& rQueue, T answer)
    {
        if (!rQueue.empty())
            answer = rQueue.front(), rQueue.pop_front();
        return answer;
    }

    std::function<void()> m_fnWhileChoosing;
    std::deque<int> m_anIndexAnswers;
    std::deque<wxString> m_astrFileAnswers;
    std::vector<Report> m_aReports;
    std::vector<Choice> m_aChoices;
    std::vector<FileRequest> m_aFileRequests;
};
