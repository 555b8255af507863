// The editor's dialogs: the message, the file prompts, and its icon.
#include "GuiTest.h"

#include "CAppIcon.h"
#include "CDlgPrompter.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>

namespace
{
using Dialogs = CHandlerTest;

// The message is wide enough for its title, and a long text still sets the width.
TEST_F(Dialogs, MessageShowsTitleTextWarningAndOk)
{
    for (const auto& [pcTitle, strText] :
         {std::pair<const char*, wxString>{"Can't write the file", "/media/card/ZOLT.CFG\nlocked"},
          {"Can't write to this volume", "x"},
          {"", wxString(wxUniChar('W'), 80)}})
    {
        SCOPED_TRACE(pcTitle);
        CDlgMessage dlg(m_pFrame, wxID_ANY, pcTitle, strText);
        EXPECT_EQ(pcTitle + ("|" + strText),
                  dlg.GetTitle() + "|" + dlg.getStaticTextMessage()->GetLabel());
        const wxImage img = dlg.getStaticBitmapWarning()->GetBitmap().ConvertToImage();
        EXPECT_EQ(wxSize(48, 48), img.GetSize());
        EXPECT_TRUE(img.IsTransparent(0, 0)); // a sign, not a square
        int nButtons = 0;
        for (wxWindow* p : dlg.GetChildren())
            nButtons += dynamic_cast<wxButton*>(p) != nullptr;
        EXPECT_EQ(1, nButtons);
        EXPECT_EQ(wxID_OK, dlg.getButtonOk()->GetId());
        EXPECT_EQ(dlg.getButtonOk(), dlg.GetDefaultItem());
        EXPECT_FALSE(dlg.HasFlag(wxRESIZE_BORDER));
        const wxFont fontBold = dlg.GetFont().Bold();
        int nTitle = 0, nHeight = 0;
        dlg.GetTextExtent(pcTitle, &nTitle, &nHeight, nullptr, nullptr, &fontBold);
        // Room for the title and two caption buttons of at least a title bar's height.
        EXPECT_GE(dlg.GetClientSize().x, nTitle + 2 * 2 * nHeight);
        EXPECT_GE(dlg.GetClientSize().x, dlg.getStaticTextMessage()->GetSize().x + 48);
    }
}

TEST_F(Dialogs, FileDialogsShowSettingsFilesWhateverTheCase)
{
    CDlgPrompter prompter(m_pFrame);
    for (int nAnswer : {wxID_CANCEL, wxID_OK})
        for (long nStyle : {long(wxFD_OPEN), long(wxFD_SAVE | wxFD_OVERWRITE_PROMPT)})
        {
            wxString strInDialog;
            auto fnAnswer = [&](wxFileDialog* pDlg)
            {
                EXPECT_EQ("Settings file|/tmp|zolt1.zlx|Zolt xml (*.zlx)|*.[zZ][lL][xX]",
                          pDlg->GetMessage() + "|" + pDlg->GetDirectory() + "|" +
                              pDlg->GetFilename() + "|" + pDlg->GetWildcard());
                GtkFileFilter* pFilter =
                    gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(pDlg->GetHandle()));
                for (const char* pcName : {"a.zlx", "B.ZLX", "c.Zlx", "d.xml", "e.zlxx"})
                {
                    GtkFileFilterInfo info = {GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr,
                                              pcName, nullptr};
                    EXPECT_EQ(wxString(pcName).Lower().EndsWith(".zlx"),
                              gtk_file_filter_filter(pFilter, &info) != FALSE)
                        << pcName;
                }
                EXPECT_EQ(nStyle,
                          pDlg->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT));
                EXPECT_EQ(m_pFrame, pDlg->GetParent());
                strInDialog = pDlg->GetPath();
                return nAnswer;
            };
            wxString strPath = "unchanged";
            wxTEST_DIALOG(strPath = prompter.chooseFile(
                              nStyle == wxFD_OPEN ? CPrompter::eFileOpen : CPrompter::eFileSave,
                              "Settings file", "/tmp", "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx"),
                          CExpectDialog<wxFileDialog>(fnAnswer));
            EXPECT_EQ(nAnswer == wxID_OK ? strInDialog : wxString(), strPath);
        }
    wxTEST_DIALOG(prompter.report("File is corrupted", "/tmp/x.zlx\nbad"),
                  expectMessage("File is corrupted|/tmp/x.zlx\nbad", [this](CDlgMessage* pDlg)
                                { EXPECT_EQ(m_pFrame, pDlg->GetParent()); }));
}

// A name saved without extension gets the filter's; a file that exists under
// the completed name is asked about, and "No" brings the dialog back.
TEST_F(Dialogs, SavedNamesGetTheFilterExtension)
{
    const wxString strDir = path("");
    ASSERT_TRUE(m_dir.write("taken.zlx", ""));
    // Typed names, the answers to the replace question (0: none expected), the name chosen.
    const std::tuple<const char*, int, const char*> aCases[] = {
        {"mine", 0, "mine.zlx"},       {"mine.xml", 0, "mine.xml.zlx"},
        {"c.Zlx", 0, "c.Zlx"},         {"d.zlx.", 0, "d.zlx..zlx"},
        {"taken", wxID_NO, ""},        {"taken", wxID_YES, "taken.zlx"},
        {"taken.zlx", 0, "taken.zlx"}, {"", 0, ""}};
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
    for (const auto& [pcTyped, nAnswer, pcChosen] : aCases)
    {
        SCOPED_TRACE(pcTyped);
        prompter.strTyped = *pcTyped ? strDir + pcTyped : "";
        prompter.strOffered.clear();
        auto fnAsk = [&](wxMessageDialog* pDlg)
        {
            EXPECT_TRUE(pDlg->GetMessage().Contains("\"taken.zlx\" already exists"));
            EXPECT_EQ("Save Settings", pDlg->GetTitle());
            return nAnswer;
        };
        wxString strPath;
        auto fnChoose = [&]
        {
            strPath = prompter.chooseFile(CPrompter::eFileSave, "Save Settings", strDir,
                                          "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx");
        };
        if (nAnswer == 0)
            fnChoose();
        else
            wxTEST_DIALOG(fnChoose(), CExpectDialog<wxMessageDialog>(fnAsk));
        EXPECT_EQ(*pcChosen ? strDir + pcChosen : wxString(), strPath);
        EXPECT_EQ(nAnswer == wxID_NO ? "zolt1.zlx|taken|" : "zolt1.zlx|", prompter.strOffered);
    }
}

TEST(AppIcon, RendersAtEverySizeWithTransparentCorners)
{
    const wxBitmapBundle bundle = CAppIcon::getBundle();
    EXPECT_EQ(wxSize(32, 32), bundle.GetDefaultSize());
    for (int n : {16, 32, 48, 256})
    {
        const wxImage img = bundle.GetBitmap(wxSize(n, n)).ConvertToImage();
        ASSERT_EQ(wxSize(n, n), img.GetSize()) << n;
        EXPECT_TRUE(img.HasAlpha() && img.GetAlpha(0, 0) == 0 && img.GetAlpha(n / 2, n / 2) == 255);
        EXPECT_TRUE(n == 256 || CAppIcon::getIconBundle().GetIconOfExactSize(n).IsOk()) << n;
    }
}
} // namespace
