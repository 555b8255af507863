// Test doubles for the settings-file tests: a reporter that keeps every
// report, a prompter that answers file dialogs from a script, a recorder of
// failed assertions, and a scratch directory removed with its content.
#pragma once

#include "CPrompter.h"

#include <wx/debug.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A namespace of their own keeps these apart from the shared test support,
// which has doubles of the same names.
namespace xmltest
{
class CRecordingReporter : public CReporter
{
public:
    struct Report
    {
        wxString strTitle;
        wxString strText;
    };

    void report(const wxString& strTitle, const wxString& strText) override
    {
        m_aReports.push_back({strTitle, strText});
    }

    std::vector<Report> m_aReports;
};

class CScriptedPrompter : public CPrompter
{
public:
    struct FileQuestion
    {
        EFileDialog eKind;
        wxString strMessage;
        wxString strDir;
        wxString strDefaultFile;
        wxString strWildcard;
    };

    void report(const wxString& strTitle, const wxString& strText) override
    {
        m_aReports.push_back({strTitle, strText});
    }

    // Answers with the next scripted path; an empty one (or none) cancels.
    wxString chooseFile(EFileDialog eKind, const wxString& strMessage, const wxString& strDir,
                        const wxString& strDefaultFile, const wxString& strWildcard) override
    {
        m_aQuestions.push_back({eKind, strMessage, strDir, strDefaultFile, strWildcard});
        if (m_astrAnswers.empty())
            return wxString();
        const wxString strAnswer = m_astrAnswers.front();
        m_astrAnswers.pop_front();
        return strAnswer;
    }

    int chooseIndex(const wxString&, const wxString&, const wxArrayString&) override { return -1; }

    std::deque<wxString> m_astrAnswers;
    std::vector<FileQuestion> m_aQuestions;
    std::vector<CRecordingReporter::Report> m_aReports;
};

// Records the condition text of every assertion that fails while it lives.
class CAssertRecorder
{
public:
    CAssertRecorder() : m_pPrevious(wxSetAssertHandler(&record)) { conditions().clear(); }
    ~CAssertRecorder() { wxSetAssertHandler(m_pPrevious); }
    CAssertRecorder(const CAssertRecorder&) = delete;
    CAssertRecorder& operator=(const CAssertRecorder&) = delete;

    static std::vector<wxString>& conditions()
    {
        static std::vector<wxString> s_astr;
        return s_astr;
    }

private:
    static void record(const wxString&, int, const wxString&, const wxString& strCond,
                       const wxString&)
    {
        conditions().push_back(strCond);
    }

    wxAssertHandler_t m_pPrevious;
};

class CScratchDir
{
public:
    CScratchDir()
    {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "zolt-xml-XXXXXX").string();
        m_path = mkdtemp(&strTemplate[0]);
    }
    ~CScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    wxString file(const std::string& strName) const { return (m_path / strName).string(); }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> astr;
        for (const auto& rEntry : std::filesystem::directory_iterator(m_path))
            astr.push_back(rEntry.path().filename().string());
        return astr;
    }

private:
    std::filesystem::path m_path;
};

inline std::string readBytes(const wxString& strPath)
{
    std::ifstream in(strPath.ToStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const wxString& strPath, const std::string& strBytes)
{
    std::ofstream out(strPath.ToStdString(), std::ios::binary | std::ios::trunc);
    out << strBytes;
}
} // namespace xmltest
