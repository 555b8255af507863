// The settings document (.zlx): builds it from a SysPar and a ToolPar, reads
// it back into them, and loads and saves it through the file dialogs. Every
// failure is reported here; callers learn only whether a step succeeded.
#pragma once

#include "ZoltPar.h"

#include <wx/string.h>

#include <cstddef>

class CPrompter;
class CReporter;
class wxXmlDocument;
class wxXmlNode;

class CFileXml
{
public:
    CFileXml();
    virtual ~CFileXml();
    CFileXml(const CFileXml&) = delete;
    CFileXml& operator=(const CFileXml&) = delete;

    // Asks for a settings file and loads it as XML; false when cancelled or
    // the file could not be loaded.
    bool loadFile(CPrompter& rPrompter);
    // The load step without a dialog; leaves the dialog directory and the
    // file name alone.
    bool loadPath(CReporter& rReporter, const wxString& strPath);
    // The load step on a document already in memory. A document far larger
    // or deeper than a real one is refused like one that is not XML.
    bool loadData(CReporter& rReporter, const void* pData, size_t nSize);
    // Reads the loaded document into the records; items the document lacks
    // keep the values the caller put in.
    bool readSettings(CReporter& rReporter, SysPar& rSysPar, ToolPar& rToolPar);
    // Replaces the document by one built from the records. Always true.
    bool buildSettings(const SysPar& rSysPar, const ToolPar& rToolPar);
    // Asks where to save, offering the name part of strDefault, and writes
    // the document there.
    bool saveFileAs(CPrompter& rPrompter, const wxString& strDefault);
    // Writes the document to strPath without a dialog.
    bool saveFile(CReporter& rReporter, const wxString& strPath);

    const wxString& getFileName() const { return m_strFileName; }
    const wxString& getDir() const { return m_strDir; }
    const wxXmlDocument& getDocument() const { return *m_pXmlDoc; }

private:
    wxXmlNode* buildSystemParameter(const SysPar& rSysPar);
    wxXmlNode* buildSystemFlags(const SysPar& rSysPar);
    wxXmlNode* buildUnit(const SysPar& rSysPar);
    wxXmlNode* buildLocked(const SysPar& rSysPar);
    wxXmlNode* buildPassword(const SysPar& rSysPar);
    wxXmlNode* buildSerialNumber(const SysPar& rSysPar);
    wxXmlNode* buildEntityNumber(const SysPar& rSysPar);
    wxXmlNode* buildToolParameter(const ToolPar& rToolPar);
    wxXmlNode* buildToolFlags(const ToolPar& rToolPar);
    wxXmlNode* buildVarMode(const ToolPar& rToolPar);
    wxXmlNode* buildVarSetTemp(const ToolPar& rToolPar);
    wxXmlNode* buildVarStandbyTemp(const ToolPar& rToolPar);
    wxXmlNode* buildVarEnergyLevel(const ToolPar& rToolPar);
    wxXmlNode* buildFixMode(const ToolPar& rToolPar);
    wxXmlNode* buildFixSetTemp(const ToolPar& rToolPar);
    wxXmlNode* buildFixStandbyTemp(const ToolPar& rToolPar);
    wxXmlNode* buildFixEnergyLevel(const ToolPar& rToolPar);
    wxXmlNode* buildWakeup(const ToolPar& rToolPar);
    wxXmlNode* buildStandbyTime(const ToolPar& rToolPar);
    wxXmlNode* buildShutdownTime(const ToolPar& rToolPar);

    bool parseSystemParameter(const wxXmlNode* pNode, SysPar& rSysPar);
    void parseSystemFlags(const wxXmlNode* pNode, SysPar& rSysPar);
    bool parseToolParameter(const wxXmlNode* pNode, ToolPar& rToolPar);
    void parseToolFlags(const wxXmlNode* pNode, ToolPar& rToolPar);
    bool parseVarMode(const wxXmlNode* pNode, ToolPar& rToolPar);
    bool parseFixMode(const wxXmlNode* pNode, ToolPar& rToolPar);

    // Seeds m_strDir with the user's documents directory on first use.
    void chooseDir();
    // Remembers the directory and the path of an accepted dialog.
    void acceptPath(const wxString& strPath);
    // Serialises the document and replaces the file at strPath with it.
    bool writeDocument(CReporter& rReporter, const wxString& strPath);

    wxXmlDocument* m_pXmlDoc;
    wxString m_strDir;
    wxString m_strFileName;
};
