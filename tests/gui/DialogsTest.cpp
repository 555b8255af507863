// The editor's file prompts.
#include "GuiTest.h"

#include "CDlgPrompter.h"

#include <wx/filedlg.h>

namespace
{
using Dialogs = CHandlerTest;

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
                    strShown << (pDlg->GetWindowStyle() &
                                 (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT)) -
                                    nStyle;
                    strInDialog = pDlg->GetPath();
                    return nAnswer;
                });
            const wxString strPath = prompter.chooseFile(
                nStyle == wxFD_OPEN ? CPrompter::eFileOpen : CPrompter::eFileSave, "Settings file",
                "/tmp", "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx");
            EXPECT_EQ("Settings file|/tmp|zolt1.zlx|Zolt xml (*.zlx)|*.[zZ][lL][xX]|"
                      "a.zlxB.ZLXc.Zlx|over the window0",
                      strShown);
            EXPECT_EQ(nAnswer == wxID_OK ? strInDialog : wxString(), strPath);
        }
}

// A name without the extension gets it; a file taken under the new name is asked about.
TEST_F(Dialogs, SavedNamesGetTheFilterExtension)
{
    ASSERT_TRUE(m_dir.write("taken.zlx", ""));
    // Typed, the answer to the replace question (0: none asked), chosen.
    const std::tuple<const char*, int, const char*> aCases[] = {
        {"mine", 0, "mine.zlx"},       {"mine.xml", 0, "mine.xml.zlx"},
        {"c.Zlx", 0, "c.Zlx"},         {"d.zlx.", 0, "d.zlx..zlx"},
        {"taken", wxID_NO, ""},        {"taken", wxID_YES, "taken.zlx"},
        {"taken.zlx", 0, "taken.zlx"}, {"", 0, ""}};
    CDlgPrompter prompter(m_pFrame);
    for (const auto& [pcTyped, nAnswer, pcChosen] : aCases)
    {
        CDialogHook hook([nAnswer = nAnswer](wxDialog*) { return nAnswer; }); // 0: not asked
        EXPECT_EQ(*pcChosen ? path(pcChosen) : "",
                  prompter.completeSavePath(*pcTyped ? path(pcTyped) : "", "Save Settings",
                                            "Zolt xml (*.zlx)|*.zlx"))
            << pcTyped;
    }
}
} // namespace
