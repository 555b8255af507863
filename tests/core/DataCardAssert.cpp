#include "DataCardAssert.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
std::vector<wxString>& log()
{
    static std::vector<wxString> s_aLog;
    return s_aLog;
}

void recordAssert(const wxString&, int, const wxString&, const wxString&, const wxString& strMsg)
{
    log().push_back(strMsg);
}

// Start-up of the editor removes the handler; the tests run the same way.
class CSilentAsserts : public ::testing::Environment
{
public:
    void SetUp() override { wxSetAssertHandler(nullptr); }
};

const ::testing::Environment* const g_pSilentAsserts =
    ::testing::AddGlobalTestEnvironment(new CSilentAsserts);
} // namespace

CDataCardAssertLog::CDataCardAssertLog() : m_pPrevious(wxSetAssertHandler(&recordAssert))
{
    log().clear();
}

CDataCardAssertLog::~CDataCardAssertLog()
{
    wxSetAssertHandler(m_pPrevious);
    log().clear();
}

const std::vector<wxString>& CDataCardAssertLog::messages() const
{
    return log();
}

size_t CDataCardAssertLog::count(const wxString& strMessage) const
{
    return static_cast<size_t>(std::count(log().begin(), log().end(), strMessage));
}

void CDataCardAssertLog::clear()
{
    log().clear();
}
