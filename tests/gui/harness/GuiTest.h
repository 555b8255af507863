// Helpers for tests that run inside the real toolkit: expectations for the
// modal dialogs, typing through the X server, event pumping, and a fixture
// with a shown frame.
#pragma once

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/string.h>

#include <functional>
#include <vector>

// Failures of dialog expectations become test failures instead of assertions.
class CGuiTestModalHook;
#define wxTEST_DIALOG_HOOK_CLASS CGuiTestModalHook
#include <wx/choicdlg.h>
#include <wx/testing.h>

#include "CDlgMessage.h"

class CGuiTestModalHook : public wxTestingModalHook
{
public:
    CGuiTestModalHook(const char* pcFile, int nLine, const char* pcFunc)
        : wxTestingModalHook(pcFile, nLine, pcFunc), m_pcFile(pcFile), m_nLine(nLine)
    {
    }

protected:
    void ReportFailure(const wxString& strMsg) override;

private:
    const char* m_pcFile;
    int m_nLine;
};

// Expects a CDlgMessage with the given title and text and answers OK; the
// optional action runs while the dialog counts as open.
class CExpectMessage : public wxExpectModalBase<CDlgMessage>
{
public:
    CExpectMessage(const wxString& strTitle, const wxString& strText,
                   std::function<void(CDlgMessage*)> fnWhileOpen = {})
        : m_strTitle(strTitle), m_strText(strText), m_fnWhileOpen(std::move(fnWhileOpen))
    {
    }

protected:
    int OnInvoked(CDlgMessage* pDlg) const override;

private:
    wxString m_strTitle;
    wxString m_strText;
    std::function<void(CDlgMessage*)> m_fnWhileOpen;
};

// Expects the single-choice dialog with this caption and these entries, and
// picks nIndex (OK) or cancels (nIndex -1).
class CExpectChoice : public wxExpectModalBase<wxSingleChoiceDialog>
{
public:
    CExpectChoice(int nIndex, const wxString& strCaption, std::vector<wxString> astrChoices)
        : m_nIndex(nIndex), m_strCaption(strCaption), m_astrChoices(std::move(astrChoices))
    {
    }

protected:
    int OnInvoked(wxSingleChoiceDialog* pDlg) const override;

private:
    int m_nIndex;
    wxString m_strCaption;
    std::vector<wxString> m_astrChoices;
};

namespace guitest
{
// Lets the toolkit and the X server handle what is queued, for about nMs.
void pumpEvents(int nMs = 50);
// Pumps until fnDone returns true or nTimeoutMs passes; returns fnDone().
bool waitUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 2000);
// Gives pWin the keyboard focus through the X server and waits for it.
bool focusWindow(wxWindow* pWin);
// Focuses pWin, replaces its whole text by strText, typed key by key.
void typeInto(wxWindow* pWin, const wxString& strText);
void pressKey(int nKey);

// Counts the toolkit's failed assertions while it lives instead of failing
// the test, for tests that expect an internal check to fire.
class CAssertCounter
{
public:
    CAssertCounter();
    ~CAssertCounter();
    int count() const;
    const wxString& lastMessage() const;
};
} // namespace guitest

// Fixture with a frame that is shown, raised and holds the input focus.
class CGuiFrameTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    wxFrame* m_pFrame = nullptr;
    wxWindow* m_pPanel = nullptr;
};

// Runs code with every modal dialog counted as a failure.
#define EXPECT_NO_DIALOG(codeToRun)                                                                \
    {                                                                                              \
        CGuiTestModalHook wx_hook(__FILE__, __LINE__, __func__);                                   \
        codeToRun;                                                                                 \
        wx_hook.CheckUnmetExpectations();                                                          \
    }
