#include "CSettingsOpener.h"

#include "CZoltSDFrameHandler.h"

#include <wx/filename.h>

namespace
{
// Answers the one question of "Open..." (which file) with the given file;
// everything else goes to the window's own prompter, so that failures are
// reported as usual.
class CChosenFilePrompter : public CPrompter
{
public:
    CChosenFilePrompter(CPrompter& rInner, const wxString& strPath)
        : m_rInner(rInner), m_strPath(strPath)
    {
    }

    void report(const wxString& strTitle, const wxString& strText) override
    {
        m_rInner.report(strTitle, strText);
    }
    wxString chooseFile(EFileDialog, const wxString&, const wxString&, const wxString&,
                        const wxString&) override
    {
        return m_strPath;
    }
    int chooseIndex(const wxString& strMessage, const wxString& strCaption,
                    const wxArrayString& astrChoices) override
    {
        return m_rInner.chooseIndex(strMessage, strCaption, astrChoices);
    }

private:
    CPrompter& m_rInner;
    wxString m_strPath;
};
} // namespace

bool CSettingsOpener::open(CZoltSDFrameHandler& rFrame, const wxString& strPath)
{
    // A dialog answers with a full path, and the current file is kept as one.
    wxFileName name(strPath);
    name.MakeAbsolute();
    CPrompter& rOwn = rFrame.getPrompter();
    CChosenFilePrompter prompter(rOwn, name.GetFullPath());
    rFrame.setPrompter(&prompter);
    const bool bOk = rFrame.openSettings();
    rFrame.setPrompter(&rOwn);
    return bOk;
}

wxString CSettingsOpener::fileArgument(const wxArrayString& astrArgs)
{
    bool bOptions = true;
    for (size_t i = 1; i < astrArgs.size(); ++i)
    {
        const wxString& str = astrArgs[i];
        if (bOptions && str == "--")
            bOptions = false;
        else if (!bOptions || !str.StartsWith("-"))
            return str;
    }
    return wxString();
}
