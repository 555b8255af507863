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

// One OK button, the default; a warning sign, not a square; no resize border;
// wide enough for the title and two caption buttons, and for a long text.
TEST_F(Dialogs, MessageShowsTitleTextWarningAndOk)
{
    for (const auto& [pcTitle, strText] :
         {std::pair<const char*, wxString>{"Can't write the file", "/media/card/ZOLT.CFG\nlocked"},
          {"Can't write to this volume", "x"},
          {"", wxString(wxUniChar('W'), 80)}})
    {
        CDlgMessage dlg(m_pFrame, wxID_ANY, pcTitle, strText);
        const wxImage img = dlg.getStaticBitmapWarning()->GetBitmap().ConvertToImage();
        int nButtons = 0, nTitle = 0, nHeight = 0;
        for (wxWindow* p : dlg.GetChildren())
            nButtons += dynamic_cast<wxButton*>(p) != nullptr;
        const wxFont fontBold = dlg.GetFont().Bold();
        dlg.GetTextExtent(pcTitle, &nTitle, &nHeight, nullptr, nullptr, &fontBold);
        const int nWidth =
            std::max(nTitle + 4 * nHeight, dlg.getStaticTextMessage()->GetSize().x + 48);
        EXPECT_EQ(wxString(pcTitle) + "|" + strText + "|1 OK 48x48 sign fixed fits",
                  dlg.GetTitle() + "|" + dlg.getStaticTextMessage()->GetLabel() +
                      wxString::Format("|%d %s %dx%d %s %s %s", nButtons,
                                       dlg.GetDefaultItem() == dlg.getButtonOk() &&
                                               dlg.getButtonOk()->GetId() == wxID_OK
                                           ? "OK"
                                           : "?",
                                       img.GetWidth(), img.GetHeight(),
                                       img.IsTransparent(0, 0) ? "sign" : "square",
                                       dlg.HasFlag(wxRESIZE_BORDER) ? "resizable" : "fixed",
                                       dlg.GetClientSize().x >= nWidth ? "fits" : "narrow"));
    }
}

TEST_F(Dialogs, FileDialogsShowSettingsFilesWhateverTheCase)
{
    CDlgPrompter prompter(m_pFrame);
    for (int nAnswer : {wxID_CANCEL, wxID_OK})
        for (long nStyle : {long(wxFD_OPEN), long(wxFD_SAVE | wxFD_OVERWRITE_PROMPT)})
        {
            wxString strInDialog, strPath = "unchanged";
            auto fnAnswer = [&](wxFileDialog* pDlg)
            {
                EXPECT_EQ("Settings file|/tmp|zolt1.zlx|Zolt xml (*.zlx)|*.[zZ][lL][xX]",
                          pDlg->GetMessage() + "|" + pDlg->GetDirectory() + "|" +
                              pDlg->GetFilename() + "|" + pDlg->GetWildcard());
                GtkFileFilter* pFilter =
                    gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(pDlg->GetHandle()));
                wxString strShown;
                for (const char* pcName : {"a.zlx", "B.ZLX", "c.Zlx", "d.xml", "e.zlxx"})
                {
                    GtkFileFilterInfo info = {GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr,
                                              pcName, nullptr};
                    strShown << (gtk_file_filter_filter(pFilter, &info) ? pcName : "");
                }
                EXPECT_EQ("a.zlxB.ZLXc.Zlx", strShown);
                EXPECT_EQ(nStyle,
                          pDlg->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT));
                EXPECT_EQ(m_pFrame, pDlg->GetParent());
                strInDialog = pDlg->GetPath();
                return nAnswer;
            };
            wxTEST_DIALOG(strPath = prompter.chooseFile(
                              nStyle == wxFD_OPEN ? CPrompter::eFileOpen : CPrompter::eFileSave,
                              "Settings file", "/tmp", "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx"),
                          CExpectDialog<wxFileDialog>(fnAnswer));
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
        auto fnAsk = [&, nAnswer = nAnswer](wxMessageDialog* pDlg)
        {
            EXPECT_EQ("Save Settings|A file named \"taken.zlx\" already exists. Do you want to "
                      "replace it?",
                      pDlg->GetTitle() + "|" + pDlg->GetMessage());
            return nAnswer;
        };
        wxString strPath;
        auto fnChoose = [&]
        {
            strPath = prompter.chooseFile(CPrompter::eFileSave, "Save Settings", path(""),
                                          "zolt1.zlx", "Zolt xml (*.zlx)|*.zlx");
        };
        if (nAnswer == 0)
            fnChoose();
        else
            wxTEST_DIALOG(fnChoose(), CExpectDialog<wxMessageDialog>(fnAsk));
        EXPECT_EQ(*pcChosen ? path(pcChosen) : wxString(), strPath);
        EXPECT_EQ(nAnswer == wxID_NO ? "zolt1.zlx|taken|" : "zolt1.zlx|", prompter.strOffered);
    }
}

TEST(AppIcon, RendersAtEverySizeWithTransparentCorners)
{
    EXPECT_EQ(wxSize(32, 32), CAppIcon::getBundle().GetDefaultSize());
    for (int n : {16, 32, 48, 256})
    {
        const wxImage img = CAppIcon::getBundle().GetBitmap(wxSize(n, n)).ConvertToImage();
        EXPECT_EQ(wxSize(n, n), img.GetSize()) << n;
        EXPECT_TRUE(img.HasAlpha() && img.GetAlpha(0, 0) == 0 && img.GetAlpha(n / 2, n / 2) == 255);
        EXPECT_TRUE(n == 256 || CAppIcon::getIconBundle().GetIconOfExactSize(n).IsOk()) << n;
    }
}
} // namespace
