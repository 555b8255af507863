#include "CCliPrompter.h"

#include <wx/filename.h>

CCliPrompter::CCliPrompter(CConsoleReporter& rReporter, const wxString& strRoot)
    : m_rReporter(rReporter), m_strRoot(strRoot.empty() ? wxString() : normaliseRoot(strRoot))
{
}

wxString CCliPrompter::normaliseRoot(const wxString& strRoot)
{
    wxFileName name = wxFileName::DirName(strRoot);
    name.MakeAbsolute();
    name.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_TILDE | wxPATH_NORM_ABSOLUTE);
    return name.GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
}

int CCliPrompter::findEntry(const wxArrayString& astrChoices, const wxString& strRoot)
{
    // An entry is the root, then an optional " (name: ...)" and marker.
    // A card that is not mounted is named by its device, without the separator.
    // Drive letters and folder names are the same in either case on Windows.
    const bool bCase = wxFileName::IsCaseSensitive();
    const auto startsWith = [bCase](const wxString& str, const wxString& strStart)
    { return str.Left(strStart.size()).IsSameAs(strStart, bCase); };
    const wxString strDevice =
        strRoot.EndsWith("/") ? strRoot.substr(0, strRoot.size() - 1) : strRoot;
    for (size_t i = 0; i < astrChoices.size(); ++i)
        if (astrChoices[i].IsSameAs(strRoot, bCase) || startsWith(astrChoices[i], strRoot + " (") ||
            startsWith(astrChoices[i], strRoot + " [") ||
            (startsWith(astrChoices[i], strDevice + " (") &&
             astrChoices[i].EndsWith(" (not mounted)")))
            return static_cast<int>(i);
    return -1;
}

void CCliPrompter::report(const wxString& strTitle, const wxString& strText)
{
    m_rReporter.report(strTitle, strText);
}

wxString CCliPrompter::chooseFile(EFileDialog, const wxString&, const wxString&, const wxString&,
                                  const wxString&)
{
    return wxString();
}

int CCliPrompter::chooseIndex(const wxString&, const wxString&, const wxArrayString& astrChoices)
{
    m_strDeclined.clear();
    wxString strList;
    for (const wxString& strEntry : astrChoices)
        strList += "\n" + strEntry;
    if (m_strRoot.empty())
    {
        if (astrChoices.size() == 1)
            return 0;
        m_strDeclined = "several cards are offered; name the one to use:" + strList;
        return -1;
    }
    const int nIndex = findEntry(astrChoices, m_strRoot);
    if (nIndex < 0)
        m_strDeclined = m_strRoot + " is not among the cards offered:" + strList;
    return nIndex;
}
