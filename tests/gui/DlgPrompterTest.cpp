#include "GuiTest.h"

#include "CDlgPrompter.h"

#include <wx/filedlg.h>

namespace
{
// Records what the file dialog was asked for and answers as told.
class CExpectFile : public wxExpectModalBase<wxFileDialog>
{
public:
    struct SSeen
    {
        wxString strMessage, strDir, strFile, strWildcard, strPath;
        long nStyle = 0;
        wxWindow* pParent = nullptr;
    };
    CExpectFile(int nAnswer, SSeen& rSeen) : m_nAnswer(nAnswer), m_rSeen(rSeen) {}

protected:
    int OnInvoked(wxFileDialog* pDlg) const override
    {
        m_rSeen.strMessage = pDlg->GetMessage();
        m_rSeen.strDir = pDlg->GetDirectory();
        m_rSeen.strFile = pDlg->GetFilename();
        m_rSeen.strWildcard = pDlg->GetWildcard();
        m_rSeen.nStyle = pDlg->GetWindowStyle();
        m_rSeen.pParent = pDlg->GetParent();
        m_rSeen.strPath = pDlg->GetPath();
        return m_nAnswer;
    }

private:
    int m_nAnswer;
    SSeen& m_rSeen;
};

// Records the preselection and the parent of the choice dialog.
class CExpectChoiceSeen : public wxExpectModalBase<wxSingleChoiceDialog>
{
public:
    CExpectChoiceSeen(int nPick, int& rnInitial, wxWindow*& rpParent)
        : m_nPick(nPick), m_rnInitial(rnInitial), m_rpParent(rpParent)
    {
    }

protected:
    int OnInvoked(wxSingleChoiceDialog* pDlg) const override
    {
        m_rnInitial = pDlg->GetSelection();
        m_rpParent = pDlg->GetParent();
        pDlg->SetSelection(m_nPick);
        return wxID_OK;
    }

private:
    int m_nPick;
    int& m_rnInitial;
    wxWindow*& m_rpParent;
};

class DlgPrompterTest : public CGuiFrameTest
{
};
} // namespace

TEST_F(DlgPrompterTest, ChooseIndexAnswersPickOrCancel)
{
    CDlgPrompter prompter(m_pFrame);
    wxArrayString astr;
    for (const char* pc : {"/media/a (CARD)", "/media/b (no file)", "/media/c"})
        astr.push_back(pc);
    int n = -2;
    wxTEST_DIALOG(
        n = prompter.chooseIndex("Choose the card", "Read from card", astr),
        CExpectChoice(2, "Read from card", {"/media/a (CARD)", "/media/b (no file)", "/media/c"}));
    EXPECT_EQ(2, n);
    wxTEST_DIALOG(n = prompter.chooseIndex("Choose the card", "Read from card", astr),
                  CExpectChoice(-1));
    EXPECT_EQ(-1, n);
    int nInitial = -1;
    wxWindow* pParent = nullptr;
    wxTEST_DIALOG(n = prompter.chooseIndex("m", "c", astr),
                  CExpectChoiceSeen(1, nInitial, pParent));
    EXPECT_EQ(1, n);
    EXPECT_EQ(0, nInitial);
    EXPECT_EQ(m_pFrame, pParent);
}

TEST_F(DlgPrompterTest, ChooseFileOpensTheRightDialog)
{
    CDlgPrompter prompter(m_pFrame);
    const wxString strWildcard = "Settings files (*.zlx)|*.zlx|All files (*)|*";
    const struct
    {
        CPrompter::EFileDialog eKind;
        long nStyleWanted;
        long nStyleNot;
    } aCase[] = {
        {CPrompter::eFileOpen, wxFD_OPEN, wxFD_SAVE | wxFD_OVERWRITE_PROMPT | wxFD_FILE_MUST_EXIST},
        {CPrompter::eFileSave, wxFD_SAVE | wxFD_OVERWRITE_PROMPT, wxFD_OPEN},
    };
    for (const auto& c : aCase)
    {
        SCOPED_TRACE(c.eKind);
        CExpectFile::SSeen seen;
        wxString strPath = "unchanged";
        wxTEST_DIALOG(strPath = prompter.chooseFile(c.eKind, "Settings file", "/tmp", "zolt1.zlx",
                                                    strWildcard),
                      CExpectFile(wxID_CANCEL, seen));
        EXPECT_TRUE(strPath.empty());
        EXPECT_EQ("Settings file", seen.strMessage);
        EXPECT_EQ("/tmp", seen.strDir);
        EXPECT_EQ("zolt1.zlx", seen.strFile);
        EXPECT_EQ(strWildcard, seen.strWildcard);
        EXPECT_EQ(c.nStyleWanted, seen.nStyle & c.nStyleWanted);
        EXPECT_EQ(0, seen.nStyle & c.nStyleNot);
        EXPECT_EQ(m_pFrame, seen.pParent);

        wxTEST_DIALOG(strPath = prompter.chooseFile(c.eKind, "Settings file", "/tmp", "zolt1.zlx",
                                                    strWildcard),
                      CExpectFile(wxID_OK, seen));
        EXPECT_EQ(seen.strPath, strPath);
    }
}
