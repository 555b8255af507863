// The editor's dialogs: the message, the file prompts, and its icon.
#include "GuiTest.h"

#include "CDlgPrompter.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>

namespace
{
using Dialogs = CHandlerTest;

// One OK button, the default; a warning sign, not a square; wide enough for the
// title and two caption buttons, and for a long text.
TEST_F(Dialogs, MessageShowsTitleTextWarningAndOk)
{
    for (const wxString strTitle : {"Can't write the file", "Can't write to this volume", ""})
    {
        CDlgMessage dlg(m_pFrame, wxID_ANY, strTitle,
                        strTitle.empty() ? wxString('W', 80) : "a\nb");
        const wxImage img = dlg.getStaticBitmapWarning()->GetBitmap().ConvertToImage();
        int nButtons = 0, nTitle = 0, nHeight = 0;
        for (wxWindow* p : dlg.GetChildren())
            nButtons +=
                dynamic_cast<wxButton*>(p) && p == dlg.GetDefaultItem() && p->GetId() == wxID_OK;
        const wxFont fontBold = dlg.GetFont().Bold();
        dlg.GetTextExtent(strTitle, &nTitle, &nHeight, nullptr, nullptr, &fontBold);
        EXPECT_TRUE(dlg.GetClientSize().x >= nTitle + 4 * nHeight &&
                    dlg.GetClientSize().x >= dlg.getStaticTextMessage()->GetSize().x + 48)
            << strTitle;
        EXPECT_EQ("1 48x48 sign",
                  wxString::Format("%d %dx%d ", nButtons, img.GetWidth(), img.GetHeight()) +
                      (img.IsTransparent(0, 0) ? "sign" : "square"));
    }
}

TEST_F(Dialogs, FileDialogsShowSettingsFilesWhateverTheCase)
{
    CDlgPrompter prompter(m_pFrame);
    for (int nAnswer : {wxID_CANCEL, wxID_OK})
        for (long nStyle : {long(wxFD_OPEN), long(wxFD_SAVE | wxFD_OVERWRITE_PROMPT)})
        {
            wxString strShown, strInDialog;
            CDialogHook hook(
                [&](wxDialog* pDialog)
                {
                    auto* pDlg = static_cast<wxFileDialog*>(pDialog);
                    strShown << pDlg->GetMessage() << "|" << pDlg->GetDirectory() << "|"
                             << pDlg->GetFilename() << "|" << pDlg->GetWildcard() << "|";
                    // GTK's filter shows settings files whatever the case of their names.
                    GtkFileFilter* pFilter =
                        gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(pDlg->GetHandle()));
                    for (const char* pcName : {"a.zlx", "B.ZLX", "c.Zlx", "d.xml", "e.zlxx"})
                    {
                        GtkFileFilterInfo info = {GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr,
                                                  pcName, nullptr};
                        strShown << (gtk_file_filter_filter(pFilter, &info) ? pcName : "");
                    }
                    strShown << (pDlg->GetParent() == m_pFrame ? "|over the window" : "|");
                    EXPECT_EQ(nStyle, pDlg->GetWindowStyle() &
                                          (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT));
                    strInDialog = pDlg->GetPath();
                    return nAnswer;
                });
            const wxString strPath = prompter.chooseFile(
                nStyle == wxFD_OPEN ? CPrompter::eFileOpen : CPrompter::eFileSave, "Settings file",
                "/tmp", "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx");
            EXPECT_EQ("Settings file|/tmp|zolt1.zlx|Zolt xml (*.zlx)|*.[zZ][lL][xX]|"
                      "a.zlxB.ZLXc.Zlx|over the window",
                      strShown);
            EXPECT_EQ(nAnswer == wxID_OK ? strInDialog : wxString(), strPath);
        }
}

// A name saved without extension gets the filter's; a file that exists under
// the completed name is asked about, and "No" brings the dialog back.
TEST_F(Dialogs, SavedNamesGetTheFilterExtension)
{
    ASSERT_TRUE(m_dir.write("taken.zlx", ""));
    struct CAnswering : CDlgPrompter
    {
        using CDlgPrompter::CDlgPrompter;
        wxString strTyped, strOffered;
        wxString showFileDialog(long, const wxString&, const wxString&, const wxString& strName,
                                const wxString&) override
        {
            strOffered << strName << "|";
            return std::exchange(strTyped, "");
        }
    } prompter(m_pFrame);
    // The name typed, the answer to the replace question (0: none expected), the name chosen.
    const std::tuple<const char*, int, const char*> aCases[] = {
        {"mine", 0, "mine.zlx"},       {"mine.xml", 0, "mine.xml.zlx"},
        {"c.Zlx", 0, "c.Zlx"},         {"d.zlx.", 0, "d.zlx..zlx"},
        {"taken", wxID_NO, ""},        {"taken", wxID_YES, "taken.zlx"},
        {"taken.zlx", 0, "taken.zlx"}, {"", 0, ""}};
    for (const auto& [pcTyped, nAnswer, pcChosen] : aCases)
    {
        SCOPED_TRACE(pcTyped);
        prompter.strTyped = *pcTyped ? path(pcTyped) : "";
        prompter.strOffered.clear();
        wxString strAsked;
        CDialogHook hook(
            [&, nAnswer = nAnswer](wxDialog* pDlg)
            {
                strAsked =
                    pDlg->GetTitle() + "|" + static_cast<wxMessageDialog*>(pDlg)->GetMessage();
                return nAnswer;
            });
        const wxString strPath = prompter.chooseFile(
            CPrompter::eFileSave, "Save Settings", path(""), "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx");
        EXPECT_EQ(nAnswer ? "Save Settings|A file named \"taken.zlx\" already exists. Do you want "
                            "to replace it?"
                          : "",
                  strAsked);
        EXPECT_EQ(*pcChosen ? path(pcChosen) : wxString(), strPath);
        EXPECT_EQ(nAnswer == wxID_NO ? "zolt1.zlx|taken|" : "zolt1.zlx|", prompter.strOffered);
    }
}

} // namespace
