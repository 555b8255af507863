// The card commands of the main window end to end, over a scripted volume
// layer whose card is a real folder: what reaches ZOLT.CFG, what is shown
// after a read, and what a failed or cancelled command leaves behind.
#include "HandlerProbe.h"

#include "CFileXml.h"
#include "CTempDir.h"

using namespace handlertest;

namespace
{
Shown edited()
{
    return {false, true, true, 700, 400, {350, 500, 842}, 1, {2, 1, 3}, 2, 17, 42};
}

class CardCommandsTest : public CHandlerTest
{
protected:
    void SetUp() override
    {
        CHandlerTest::SetUp();
        ASSERT_TRUE(CTempDir::makeDirs(m_dir.file("card")));
        m_pDrive = &m_layer.setDrive(4, cardRoot());
        m_pDrive->info.strLabel = "CARD";
    }

    std::string cardRoot() const { return m_dir.file("card") + "/"; }
    std::string cardFile() const { return m_dir.file("card/ZOLT.CFG"); }

    // The records of the card's file, as the station would find them.
    bool readCardFile(SysPar& rSysPar, ToolPar& rToolPar)
    {
        const std::string strFile = CTempDir::readFile(cardFile());
        if (strFile.size() != CDataCard::kImageSize)
            return false;
        CDataCard card;
        std::memcpy(card.getImage(), strFile.data(), strFile.size());
        return card.readPar(rSysPar, rToolPar, 0);
    }
    // A card file holding exactly these records.
    void writeCardFile(const SysPar& rSysPar, const ToolPar& rToolPar)
    {
        CDataCard card;
        ASSERT_TRUE(card.buildWrite(rSysPar, rToolPar));
        ASSERT_TRUE(CTempDir::writeFile(
            cardFile(),
            std::string(reinterpret_cast<const char*>(card.getImage()), CDataCard::kImageSize)));
    }

    CTempDir m_dir;
    CFakeVolumeLayer::Drive* m_pDrive = nullptr;
};

TEST_F(CardCommandsTest, WrittenCardReadsBackIntoTheControls)
{
    m_pFrame->showRecords(makeSys(edited()), makeTool(edited()));
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE));
    ASSERT_EQ(1u, m_prompter.getChoices().size());
    EXPECT_EQ("Write Settings", m_prompter.getChoices()[0].strCaption);
    EXPECT_TRUE(m_prompter.getReports().empty());

    SysPar sysPar;
    ToolPar toolPar;
    ASSERT_TRUE(readCardFile(sysPar, toolPar));
    EXPECT_EQ(CHandlerProbe::bytes(makeSys(edited())), CHandlerProbe::bytes(sysPar));
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), CHandlerProbe::bytes(toolPar));

    m_pFrame->menu(ID_MENU_FILE_NEW);
    ASSERT_NE(CHandlerProbe::bytes(makeTool(edited())), m_pFrame->toolBytes());
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->button(ID_BUTTON_READ));
    ASSERT_EQ(2u, m_prompter.getChoices().size());
    EXPECT_EQ("Read Settings", m_prompter.getChoices()[1].strCaption);
    EXPECT_TRUE(m_prompter.getReports().empty());
    EXPECT_EQ(CHandlerProbe::bytes(makeSys(edited())), m_pFrame->sysBytes());
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), m_pFrame->toolBytes());
    EXPECT_TRUE(m_pFrame->m_pRadioBtnFahrenheit->GetValue());
    EXPECT_TRUE(m_pFrame->m_pSpinCtrlT2->IsEnabled());
    EXPECT_FALSE(m_pFrame->m_pSpinCtrlT3->IsEnabled());
    EXPECT_EQ(" Q417", m_pFrame->GetTitle());
}

TEST_F(CardCommandsTest, CardReadLeavesTitleAndCurrentFileAlone)
{
    const wxString strSettings = wxString::FromUTF8(m_dir.file("mine.zlx"));
    {
        CFileXml fileXml;
        SysPar sysPar;
        ToolPar toolPar;
        CDataCard::setDefaultPar(sysPar, toolPar);
        fileXml.buildSettings(sysPar, toolPar);
        ASSERT_TRUE(fileXml.saveFile(m_prompter, strSettings));
    }
    m_prompter.answerFile(strSettings);
    m_pFrame->menu(ID_MENU_FILE_OPEN);
    ASSERT_EQ(" Q417 [mine.zlx]", m_pFrame->GetTitle());

    writeCardFile(makeSys(edited()), makeTool(edited()));
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_READ);
    EXPECT_EQ(" Q417 [mine.zlx]", m_pFrame->GetTitle());
    EXPECT_EQ(strSettings, m_pFrame->getCurrentFile());
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), m_pFrame->toolBytes());

    // Save then writes the card's values to the file that was current.
    m_pFrame->menu(ID_MENU_FILE_SAVE);
    EXPECT_EQ(1u, m_prompter.getFileRequests().size());
    CFileXml fileXml;
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    ASSERT_TRUE(fileXml.loadPath(m_prompter, strSettings));
    ASSERT_TRUE(fileXml.readSettings(m_prompter, sysPar, toolPar));
    CDataCard::checkPar(sysPar, toolPar); // the reader leaves the CRC to validation
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), CHandlerProbe::bytes(toolPar));
}

TEST_F(CardCommandsTest, CardWithoutRecordsEndsSilently)
{
    m_pFrame->showRecords(makeSys(edited()), makeTool(edited()));
    const std::vector<wxString> astrBefore = snapshot();
    std::string strNoise(CDataCard::kImageSize, '\0');
    for (size_t i = 0; i < strNoise.size(); ++i)
        strNoise[i] = static_cast<char>((i * 7919u) >> 3);
    const std::string aFiles[] = {std::string(), std::string(512, '\0'), strNoise};
    for (const std::string& strFile : aFiles)
    {
        SCOPED_TRACE(strFile.size());
        ASSERT_TRUE(CTempDir::writeFile(cardFile(), strFile));
        m_prompter.answerIndex(0);
        EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ));
        EXPECT_TRUE(m_prompter.getReports().empty());
        EXPECT_EQ(astrBefore, snapshot());
    }
    EXPECT_EQ(3u, m_prompter.getChoices().size());
}

TEST_F(CardCommandsTest, CardRecordsAreShownAsReadWithoutClamping)
{
    SysPar sysPar;
    ToolPar toolPar;
    CDataCard::setDefaultPar(sysPar, toolPar);
    toolPar.nVarStandbyT100mC = 3500; // above the standby maximum, within the set range
    for (int i = 0; i < 3; ++i)
        toolPar.anFixStandbyT100mC[i] = 3500;
    toolPar.cStandbyTmMin = 90;
    toolPar.cVarEnergy = 0;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&toolPar), sizeof(toolPar));
    writeCardFile(sysPar, toolPar);

    m_prompter.answerIndex(0);
    {
        guitest::CAssertCounter asserts; // standby time and energy are not as expected
        EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ));
        EXPECT_EQ(2, asserts.count());
    }
    EXPECT_EQ("350", text(m_pFrame->m_pSpinCtrlStandbyTemp));
    EXPECT_EQ("90", text(m_pFrame->m_pSpinCtrlStandbyTime));
    EXPECT_EQ(1, energy(m_pFrame->m_pComboBoxTVarEnergy));

    // Writing it back clamps the standby time, and says so.
    m_prompter.answerIndex(0);
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE),
                  CExpectMessage("validation failed",
                                 "standby time is not in range\nwill be set to maximum of 60 min"));
    SysPar backSys;
    ToolPar backTool;
    ASSERT_TRUE(readCardFile(backSys, backTool));
    EXPECT_EQ(3500, backTool.nVarStandbyT100mC);
    EXPECT_EQ(60, backTool.cStandbyTmMin);
    EXPECT_EQ(1, backTool.cVarEnergy);
}

TEST_F(CardCommandsTest, RecordsThatCannotBeShownTogetherChangeNothing)
{
    // Intact on the card, but a SysPar of version 0 cannot say in which unit
    // the ToolPar's temperatures are to be shown.
    SysPar sysPar = makeSys(edited());
    sysPar.cVersion = 0;
    CDataCard::setCrc(reinterpret_cast<uint8_t*>(&sysPar), sizeof(sysPar));
    writeCardFile(sysPar, makeTool(edited()));
    const std::vector<wxString> astrBefore = snapshot();
    m_prompter.answerIndex(0);
    EXPECT_NO_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ));
    EXPECT_EQ(astrBefore, snapshot());
}

TEST_F(CardCommandsTest, CancelledChoicesChangeNothing)
{
    writeCardFile(makeSys(edited()), makeTool(edited()));
    const std::string strBefore = CTempDir::readFile(cardFile());
    const std::vector<wxString> astrBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    EXPECT_EQ(2u, m_prompter.getChoices().size());
    EXPECT_TRUE(m_prompter.getReports().empty());
    EXPECT_EQ(astrBefore, snapshot());
    EXPECT_EQ(strBefore, CTempDir::readFile(cardFile()));
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle());
}

TEST_F(CardCommandsTest, FailuresAreReportedAndChangeNothing)
{
    const std::vector<wxString> astrBefore = snapshot();
    m_pFrame->menu(ID_MENU_CARD_READ); // the card holds no ZOLT.CFG
    ASSERT_EQ(1u, m_prompter.getReports().size());
    EXPECT_EQ("Can't find the file", m_prompter.getReports()[0].strTitle);
    EXPECT_EQ("No configuration file found!\nPlease insert a micro SD card first.",
              m_prompter.getReports()[0].strText);

    m_pDrive->info.bReadOnly = true;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    m_pFrame->menu(ID_MENU_CARD_WRITE);
    ASSERT_EQ(1u, m_prompter.getReports().size());
    EXPECT_EQ("Can't write to this volume", m_prompter.getReports()[0].strTitle);
    EXPECT_FALSE(CTempDir::exists(cardFile()));

    m_pDrive->info.bReadOnly = false;
    m_pDrive->nFreeBytes = CDataCard::kImageSize - 1;
    m_prompter.clear();
    m_prompter.answerIndex(0);
    m_pFrame->button(ID_BUTTON_WRITE);
    ASSERT_EQ(1u, m_prompter.getReports().size());
    EXPECT_EQ("Can't write the file", m_prompter.getReports()[0].strTitle);
    EXPECT_EQ("not enough volume space\n", m_prompter.getReports()[0].strText);
    EXPECT_FALSE(CTempDir::exists(cardFile()));
    EXPECT_EQ(astrBefore, snapshot());
    EXPECT_EQ("Q417 SD", m_pFrame->GetTitle());
}

TEST_F(CardCommandsTest, TheWindowsOwnChoiceAndMessagesAreUsedWithoutAScript)
{
    m_pFrame->setPrompter(nullptr);
    const wxString strEntry = wxString::FromUTF8(cardRoot()) + " (name: CARD)";
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ),
                  CExpectMessage("Can't find the file", "No configuration file found!\n"
                                                        "Please insert a micro SD card first."));

    m_pFrame->showRecords(makeSys(edited()), makeTool(edited()));
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_WRITE),
                  CExpectChoice(0, "Write Settings", {strEntry}));
    SysPar sysPar;
    ToolPar toolPar;
    ASSERT_TRUE(readCardFile(sysPar, toolPar));
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), CHandlerProbe::bytes(toolPar));

    m_pFrame->setDefault();
    wxTEST_DIALOG(m_pFrame->menu(ID_MENU_CARD_READ), CExpectChoice(0, "Read Settings", {strEntry}));
    EXPECT_EQ(CHandlerProbe::bytes(makeTool(edited())), m_pFrame->toolBytes());
}
} // namespace
