// Routing of the main window's events: every menu item and control reaches its own
// virtual handler and nothing else does; the layout's own handlers only pass events on.
#include "GuiTest.h"

#include "FrameProbe.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <string>
#include <vector>

using guitest::pumpEvents;
using guitest::waitUntil;

namespace
{
// Records which handler each event reached; it does not skip, as a real override would not.
class CFrameRecorder : public CFrameProbe
{
public:
    std::vector<std::string> m_astrCalls;
    std::vector<int> m_anIds;

protected:
#define ZOLT_RECORD(handler, EventType)                                                            \
    void handler(EventType& rEvent) override                                                       \
    {                                                                                              \
        m_astrCalls.push_back(#handler);                                                           \
        m_anIds.push_back(rEvent.GetId());                                                         \
    }
    ZOLT_RECORD(onEvMenuFileNew, wxCommandEvent)
    ZOLT_RECORD(onEvMenuFileOpen, wxCommandEvent)
    ZOLT_RECORD(onEvMenuFileSave, wxCommandEvent)
    ZOLT_RECORD(onEvMenuFileSaveAs, wxCommandEvent)
    ZOLT_RECORD(onEvMenuFileExit, wxCommandEvent)
    ZOLT_RECORD(onEvMenuCardRead, wxCommandEvent)
    ZOLT_RECORD(onEvMenuCardWrite, wxCommandEvent)
    ZOLT_RECORD(onEvMenuSettingsSpeechEnglish, wxCommandEvent)
    ZOLT_RECORD(onEvMenuSettingsDefault, wxCommandEvent)
    ZOLT_RECORD(onEvMenuHelpDocumentation, wxCommandEvent)
    ZOLT_RECORD(onEvMenuHelpAbout, wxCommandEvent)
    ZOLT_RECORD(onEvCheckboxKeylocked, wxCommandEvent)
    ZOLT_RECORD(onEvRadioBtnCelsius, wxCommandEvent)
    ZOLT_RECORD(onEvRadioBtnFahrenheit, wxCommandEvent)
    ZOLT_RECORD(onEvRadioBtnTempFix, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlT1, wxSpinEvent)
    ZOLT_RECORD(onEvComboBoxT1Energy, wxCommandEvent)
    ZOLT_RECORD(onEvCheckboxT2, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlT2, wxSpinEvent)
    ZOLT_RECORD(onEvComboBoxT2Energy, wxCommandEvent)
    ZOLT_RECORD(onEvCheckboxT3, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlT3, wxSpinEvent)
    ZOLT_RECORD(onEvComboBoxT3Energy, wxCommandEvent)
    ZOLT_RECORD(onEvRadioBtnTempVar, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlTVar, wxSpinEvent)
    ZOLT_RECORD(onEvComboBoxTVarEnergy, wxCommandEvent)
    ZOLT_RECORD(onEvButtonWrite, wxCommandEvent)
    ZOLT_RECORD(onEvButtonRead, wxCommandEvent)
    ZOLT_RECORD(onEvButtonSave, wxCommandEvent)
    ZOLT_RECORD(onEvButtonLoad, wxCommandEvent)
    ZOLT_RECORD(onEvButtonDefault, wxCommandEvent)
    ZOLT_RECORD(onEvCheckboxStandby, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlStandbyTime, wxSpinEvent)
    ZOLT_RECORD(onEvSpinCtrlStandbyTemp, wxSpinEvent)
    ZOLT_RECORD(onEvCheckboxShutDown, wxCommandEvent)
    ZOLT_RECORD(onEvSpinCtrlShutdownTime, wxSpinEvent)
#undef ZOLT_RECORD
};

// Collects the log records instead of showing them.
class CLogCapture : public wxLog
{
public:
    struct Record
    {
        wxLogLevel level;
        wxString strMsg;
        wxString strFunc;
        wxString strFile;
    };
    std::vector<Record> m_aRecords;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& strMsg,
                     const wxLogRecordInfo& rInfo) override
    {
        m_aRecords.push_back(
            {level, strMsg, rInfo.func ? rInfo.func : "", rInfo.filename ? rInfo.filename : ""});
    }
};

// Makes pCapture the log target at the given level for the lifetime of the guard.
class CLogGuard
{
public:
    CLogGuard(CLogCapture* pCapture, wxLogLevel level)
        : m_levelOld(wxLog::GetLogLevel()), m_pOld(wxLog::SetActiveTarget(pCapture))
    {
        wxLog::SetLogLevel(level);
    }
    ~CLogGuard()
    {
        delete wxLog::SetActiveTarget(m_pOld);
        wxLog::SetLogLevel(m_levelOld);
    }

private:
    wxLogLevel m_levelOld;
    wxLog* m_pOld;
};

// Events of every kind that controls of this window could raise.
const std::vector<wxEventType>& candidateTypes()
{
    static const std::vector<wxEventType> s_aTypes = {
        wxEVT_MENU,     wxEVT_BUTTON,   wxEVT_CHECKBOX,   wxEVT_RADIOBUTTON,
        wxEVT_COMBOBOX, wxEVT_SPINCTRL, wxEVT_SPIN_UP,    wxEVT_SPIN_DOWN,
        wxEVT_SPIN,     wxEVT_TEXT,     wxEVT_TEXT_ENTER, wxEVT_COMBOBOX_DROPDOWN,
    };
    return s_aTypes;
}

struct Sent
{
    bool bProcessed;
    bool bSkipped;
};

Sent dispatch(wxWindow* pTarget, wxEvent& rEvent)
{
    rEvent.SetEventObject(pTarget);
    const bool bProcessed = pTarget->GetEventHandler()->ProcessEvent(rEvent);
    return {bProcessed, rEvent.GetSkipped()};
}

// Sends an event of the given type and identifier to pTarget as the toolkit would.
Sent sendEvent(wxWindow* pTarget, wxEventType type, int nId)
{
    if (type == wxEVT_SPINCTRL || type == wxEVT_SPIN_UP || type == wxEVT_SPIN_DOWN ||
        type == wxEVT_SPIN)
    {
        wxSpinEvent event(type, nId);
        return dispatch(pTarget, event);
    }
    wxCommandEvent event(type, nId);
    return dispatch(pTarget, event);
}

class FrameEvents : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_pFrame)
            m_pFrame->Destroy();
        pumpEvents(20);
    }

    CFrameRecorder* recorder()
    {
        auto* pFrame = new CFrameRecorder();
        m_pFrame = pFrame;
        return pFrame;
    }

    wxFrame* m_pFrame = nullptr;
};
} // namespace

TEST_F(FrameEvents, EveryEntryReachesItsOwnHandler)
{
    CFrameRecorder* pFrame = recorder();
    for (const FrameRoute& rRoute : frameRoutes())
    {
        SCOPED_TRACE(rRoute.pcHandler);
        pFrame->m_astrCalls.clear();
        pFrame->m_anIds.clear();
        EXPECT_TRUE(sendEvent(pFrame, rRoute.type, rRoute.nId).bProcessed);
        EXPECT_EQ(std::vector<std::string>{rRoute.pcHandler}, pFrame->m_astrCalls);
        EXPECT_EQ(std::vector<int>{rRoute.nId}, pFrame->m_anIds);
    }
}

TEST_F(FrameEvents, ControlEventsTravelUpToTheFrame)
{
    CFrameRecorder* pFrame = recorder();
    for (const FrameRoute& rRoute : frameRoutes())
    {
        if (rRoute.type == wxEVT_MENU)
            continue;
        SCOPED_TRACE(rRoute.pcHandler);
        wxWindow* pControl = pFrame->FindWindow(rRoute.nId);
        ASSERT_NE(nullptr, pControl);
        EXPECT_EQ(pFrame, pControl->GetParent());
        pFrame->m_astrCalls.clear();
        sendEvent(pControl, rRoute.type, rRoute.nId);
        EXPECT_EQ(std::vector<std::string>{rRoute.pcHandler}, pFrame->m_astrCalls);
    }
}

TEST_F(FrameEvents, OtherEventKindsAndFreeIdentifiersReachNoHandler)
{
    CFrameRecorder* pFrame = recorder();
    for (const FrameRoute& rRoute : frameRoutes())
    {
        for (wxEventType type : candidateTypes())
        {
            if (type == rRoute.type)
                continue;
            sendEvent(pFrame, type, rRoute.nId);
        }
    }
    EXPECT_TRUE(pFrame->m_astrCalls.empty()) << pFrame->m_astrCalls.front();

    std::vector<int> anFree = {999, 1007, 1045, wxID_ANY, wxID_EXIT, wxID_ABOUT};
    for (int nId = 1009; nId <= 1016; ++nId)
        anFree.push_back(nId);
    for (int nId : anFree)
    {
        for (wxEventType type : candidateTypes())
            sendEvent(pFrame, type, nId);
    }
    EXPECT_TRUE(pFrame->m_astrCalls.empty()) << pFrame->m_astrCalls.front();
}

TEST_F(FrameEvents, MenuCommandsReachTheirHandlersExceptTheDisabledOne)
{
    CFrameRecorder* pFrame = recorder();
    for (const FrameRoute& rRoute : frameRoutes())
    {
        // The one radio item stays chosen; choosing it again is not a command of its own.
        if (rRoute.type != wxEVT_MENU || rRoute.nId == ID_MENU_SETTINGS_SPEECH_ENGLISH)
            continue;
        SCOPED_TRACE(rRoute.pcHandler);
        pFrame->m_astrCalls.clear();
        const bool bDisabled = rRoute.nId == ID_MENU_HELP_DOCUMENTATION;
        const bool bProcessed = pFrame->ProcessCommand(rRoute.nId);
        if (bDisabled)
        {
            EXPECT_TRUE(pFrame->m_astrCalls.empty());
        }
        else
        {
            EXPECT_TRUE(bProcessed);
            EXPECT_EQ(std::vector<std::string>{rRoute.pcHandler}, pFrame->m_astrCalls);
        }
    }
}

TEST_F(FrameEvents, LayoutHandlersSkipAndLogOnlyAtDebugLevel)
{
    m_pFrame = new CFrameProbe();
    for (const FrameRoute& rRoute : frameRoutes())
    {
        SCOPED_TRACE(rRoute.pcHandler);
        auto* pCapture = new CLogCapture;
        {
            CLogGuard guard(pCapture, wxLOG_Debug);
            const Sent sent = sendEvent(m_pFrame, rRoute.type, rRoute.nId);
            EXPECT_FALSE(sent.bProcessed);
            EXPECT_TRUE(sent.bSkipped);
            ASSERT_EQ(1u, pCapture->m_aRecords.size());
            const CLogCapture::Record& rRecord = pCapture->m_aRecords.front();
            EXPECT_EQ(wxLOG_Debug, rRecord.level);
            EXPECT_EQ(wxString("Event handler (CZoltSDFrame::") + rRoute.pcHandler +
                          ") not implemented yet",
                      rRecord.strMsg);
            EXPECT_EQ(rRoute.pcHandler, rRecord.strFunc);
            EXPECT_TRUE(rRecord.strFile.EndsWith("CZoltSDFrame.cpp")) << rRecord.strFile;
        }
        // At the level the editor runs with, nothing is written.
        pCapture = new CLogCapture;
        {
            CLogGuard guard(pCapture, wxLOG_Info);
            const Sent sent = sendEvent(m_pFrame, rRoute.type, rRoute.nId);
            EXPECT_FALSE(sent.bProcessed);
            EXPECT_TRUE(sent.bSkipped);
            EXPECT_TRUE(pCapture->m_aRecords.empty());
        }
    }
}

TEST_F(FrameEvents, ExitOfThePlainLayoutLeavesTheWindowOpen)
{
    m_pFrame = new CFrameProbe();
    m_pFrame->Show();
    EXPECT_TRUE(waitUntil([this] { return m_pFrame->IsShownOnScreen(); }));
    m_pFrame->ProcessCommand(ID_MENU_FILE_EXIT);
    pumpEvents(50);
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(m_pFrame));
    EXPECT_TRUE(m_pFrame->IsShown());
    EXPECT_NE(nullptr, wxTopLevelWindows.Find(m_pFrame));
}

// Clicks through the X server, as a user would.
TEST_F(FrameEvents, ClicksOnControlsReachTheirHandlers)
{
    CFrameRecorder* pFrame = recorder();
    pFrame->Show();
    pFrame->Raise();
    ASSERT_TRUE(waitUntil([pFrame] { return pFrame->IsShownOnScreen() && pFrame->IsActive(); }));
    pumpEvents(100);

    struct Click
    {
        wxWindow* pControl;
        const char* pcHandler;
    };
    const Click aClicks[] = {
        {pFrame->m_pRadioBtnFahrenheit, "onEvRadioBtnFahrenheit"},
        {pFrame->m_pCheckboxKeylocked, "onEvCheckboxKeylocked"},
        {pFrame->m_pRadioBtnTempFix, "onEvRadioBtnTempFix"},
        {pFrame->m_pCheckboxStandby, "onEvCheckboxStandby"},
        {pFrame->m_pButtonWrite, "onEvButtonWrite"},
        {pFrame->m_pRadioBtnCelsius, "onEvRadioBtnCelsius"},
    };
    wxUIActionSimulator sim;
    for (const Click& rClick : aClicks)
    {
        SCOPED_TRACE(rClick.pcHandler);
        pFrame->m_astrCalls.clear();
        const wxRect rect = rClick.pControl->GetScreenRect();
        // Near the left edge: check boxes and radio buttons react on their indicator.
        sim.MouseMove(rect.GetLeft() + std::min(10, rect.GetWidth() / 2),
                      rect.GetTop() + rect.GetHeight() / 2);
        pumpEvents(20);
        sim.MouseClick();
        EXPECT_TRUE(waitUntil([pFrame] { return !pFrame->m_astrCalls.empty(); }));
        EXPECT_EQ(std::vector<std::string>{rClick.pcHandler}, pFrame->m_astrCalls);
    }
    // The clicks leave each group with one choice, and the groups do not touch each other.
    EXPECT_TRUE(pFrame->m_pRadioBtnCelsius->GetValue());
    EXPECT_FALSE(pFrame->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_TRUE(pFrame->m_pRadioBtnTempFix->GetValue());
    EXPECT_FALSE(pFrame->m_pRadioBtnTempVar->GetValue());
    EXPECT_TRUE(pFrame->m_pCheckboxKeylocked->GetValue());
    EXPECT_FALSE(pFrame->m_pCheckboxStandby->GetValue());
}
