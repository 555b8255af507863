// The commands of the main window: settings files, card, defaults, About,
// and the window's construction and title.
#include "CZoltSDFrameHandler.h"

#include "AppName.h"
#include "CAppIcon.h"
#include "CDlgAbout.h"
#include "CSettingsDropTarget.h"
#include "ZoltVersion.h"

#include <wx/aboutdlg.h>
#include <wx/filename.h>
#include <wx/settings.h>

namespace
{
// Offered by the save dialog while the window has no settings file.
const wxString kDefaultFileName = "zolt1.zlx";
} // namespace

CZoltSDFrameHandler::CZoltSDFrameHandler()
    : CZoltSDFrame(nullptr, wxID_ANY, g_strAppName, wxPoint(10, 10)), m_dlgPrompter(this),
      m_pPrompter(&m_dlgPrompter)
{
    init();
}

CZoltSDFrameHandler::CZoltSDFrameHandler(CVolumeLayer& rLayer)
    : CZoltSDFrame(nullptr, wxID_ANY, g_strAppName, wxPoint(10, 10)), m_fileCard(rLayer),
      m_dlgPrompter(this), m_pPrompter(&m_dlgPrompter)
{
    init();
}

void CZoltSDFrameHandler::init()
{
    // Window managers pick the size they need from the bundle.
    SetIcons(CAppIcon::getIconBundle());
    SetDropTarget(new CSettingsDropTarget(*this));
    m_bUpdating = false;
    wxStaticText* const apUnitText[kTempCount] = {m_pStaticTextT1Unit, m_pStaticTextT2Unit,
                                                  m_pStaticTextT3Unit, m_pStaticTextTVarUnit,
                                                  m_pStaticTextStandbyTempUnit};
    CZoltSpinCtrl* const apTempSpin[kTempCount] = {m_pSpinCtrlT1, m_pSpinCtrlT2, m_pSpinCtrlT3,
                                                   m_pSpinCtrlTVar, m_pSpinCtrlStandbyTemp};
    for (int i = 0; i < kTempCount; ++i)
    {
        m_apUnitText[i] = apUnitText[i];
        m_apTempSpin[i] = apTempSpin[i];
    }
    initSpinCtrls();
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_MENUBAR));
}

CZoltSDFrameHandler::~CZoltSDFrameHandler() = default;

void CZoltSDFrameHandler::setPrompter(CPrompter* pPrompter)
{
    m_pPrompter = pPrompter != nullptr ? pPrompter : &m_dlgPrompter;
}

void CZoltSDFrameHandler::setCurrentFile(const wxString& strPath)
{
    m_strCurrentFile = strPath;
    const wxString strName = wxFileName(strPath, wxPATH_NATIVE).GetFullName();
    SetTitle(strName.empty() ? wxString(" Q417") : " Q417 [" + strName + "]");
}

bool CZoltSDFrameHandler::setDefault()
{
    SysPar sysPar;
    ToolPar toolPar;
    m_dataCard.setDefaultPar(sysPar, toolPar);
    showRecords(sysPar, toolPar);
    return true;
}

bool CZoltSDFrameHandler::openSettings()
{
    if (!m_fileXml.loadFile(*m_pPrompter))
        return false;
    SysPar sysPar;
    ToolPar toolPar;
    // Whatever the file lacks keeps its default.
    m_dataCard.setDefaultPar(sysPar, toolPar);
    if (!m_fileXml.readSettings(*m_pPrompter, sysPar, toolPar))
        return false;
    m_dataCard.checkPar(sysPar, toolPar);
    setCurrentFile(m_fileXml.getFileName());
    showRecords(sysPar, toolPar);
    return true;
}

bool CZoltSDFrameHandler::saveSettings()
{
    SysPar sysPar;
    ToolPar toolPar;
    readControls(sysPar, toolPar);
    m_fileXml.buildSettings(sysPar, toolPar);
    if (!m_strCurrentFile.empty())
        return m_fileXml.saveFile(*m_pPrompter, m_strCurrentFile);
    if (!m_fileXml.saveFileAs(*m_pPrompter, kDefaultFileName))
        return false;
    setCurrentFile(m_fileXml.getFileName());
    return true;
}

bool CZoltSDFrameHandler::saveSettingsAs()
{
    SysPar sysPar;
    ToolPar toolPar;
    readControls(sysPar, toolPar);
    const wxString strOffered = m_strCurrentFile.empty() ? kDefaultFileName : m_strCurrentFile;
    m_fileXml.buildSettings(sysPar, toolPar);
    if (!m_fileXml.saveFileAs(*m_pPrompter, strOffered))
        return false;
    setCurrentFile(m_fileXml.getFileName());
    return true;
}

bool CZoltSDFrameHandler::readCard()
{
    if (!m_fileCard.read(m_dataCard, *m_pPrompter))
        return false;
    SysPar sysPar;
    ToolPar toolPar;
    // An image without both records ends the command silently. Records from
    // the card are shown as they were read, without validation.
    if (!m_dataCard.readPar(sysPar, toolPar, 0))
        return false;
    showRecords(sysPar, toolPar);
    return true;
}

bool CZoltSDFrameHandler::writeCard()
{
    SysPar sysPar;
    ToolPar toolPar;
    readControls(sysPar, toolPar);
    // An image that could not be built would be the one of an earlier
    // command: never write that.
    if (!m_dataCard.buildWrite(sysPar, toolPar))
        return false;
    return m_fileCard.write(m_dataCard, *m_pPrompter);
}

void CZoltSDFrameHandler::showAbout()
{
    wxAboutDialogInfo info;
    info.SetName(g_strAppName);
    info.SetVersion(ZOLT_VERSION_FULL, wxEmptyString);
    info.SetDescription(wxEmptyString);
    // As in the version block of the Windows build.
    info.SetCopyright("Copyright (C) Q417 SD developers");
    info.SetLicence(s_acZoltLicence);
    info.SetWebSite("https://q417sd.example.org/", "q417sd.example.org");
    CDlgAbout* pDlg = new CDlgAbout(this, info);
    pDlg->SetTransparent(255);
    pDlg->ShowModal();
    pDlg->Destroy();
}

void CZoltSDFrameHandler::onEvMenuFileNew(wxCommandEvent&)
{
    setCurrentFile(wxEmptyString);
    setDefault();
}

void CZoltSDFrameHandler::onEvMenuFileOpen(wxCommandEvent&)
{
    openSettings();
}

void CZoltSDFrameHandler::onEvButtonLoad(wxCommandEvent&)
{
    openSettings();
}

void CZoltSDFrameHandler::onEvMenuFileSave(wxCommandEvent&)
{
    saveSettings();
}

void CZoltSDFrameHandler::onEvButtonSave(wxCommandEvent&)
{
    saveSettings();
}

void CZoltSDFrameHandler::onEvMenuFileSaveAs(wxCommandEvent&)
{
    saveSettingsAs();
}

void CZoltSDFrameHandler::onEvMenuFileExit(wxCommandEvent&)
{
    Close(true);
}

void CZoltSDFrameHandler::onEvMenuCardRead(wxCommandEvent&)
{
    readCard();
}

void CZoltSDFrameHandler::onEvButtonRead(wxCommandEvent&)
{
    readCard();
}

void CZoltSDFrameHandler::onEvMenuCardWrite(wxCommandEvent&)
{
    writeCard();
}

void CZoltSDFrameHandler::onEvButtonWrite(wxCommandEvent&)
{
    writeCard();
}

void CZoltSDFrameHandler::onEvMenuSettingsDefault(wxCommandEvent&)
{
    setDefault();
}

void CZoltSDFrameHandler::onEvButtonDefault(wxCommandEvent&)
{
    setDefault();
}

void CZoltSDFrameHandler::onEvMenuHelpAbout(wxCommandEvent&)
{
    showAbout();
}
