#include "CTempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

CTempDir::CTempDir()
{
    const char* pszBase = getenv("TMPDIR");
    std::string strTemplate = std::string(pszBase && *pszBase ? pszBase : "/tmp") + "/zolt-XXXXXX";
    if (mkdtemp(&strTemplate[0]) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    m_strPath = fs::canonical(strTemplate).string();
}

CTempDir::~CTempDir()
{
    removeAll(m_strPath);
}

std::string CTempDir::file(const std::string& strRelative) const
{
    return m_strPath + "/" + strRelative;
}

std::string CTempDir::device(const std::string& strRelative, unsigned nMajor, unsigned nMinor) const
{
    const std::string strPath = file(strRelative);
    if (mknod(strPath.c_str(), S_IFCHR | 0666, makedev(nMajor, nMinor)) != 0)
        return std::string();
    return strPath;
}

bool CTempDir::write(const std::string& strRelative, const std::string& strContent) const
{
    const std::string strPath = file(strRelative);
    return makeDirs(strPath.substr(0, strPath.rfind('/'))) && writeFile(strPath, strContent);
}

bool CTempDir::writeFile(const std::string& strPath, const std::string& strContent)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strContent;
    out.close();
    return !out.fail();
}

std::string CTempDir::readFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool CTempDir::exists(const std::string& strPath)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(strPath, ec));
}

bool CTempDir::makeDirs(const std::string& strPath)
{
    std::error_code ec;
    fs::create_directories(strPath, ec);
    return fs::is_directory(strPath, ec);
}

void CTempDir::removeAll(const std::string& strPath)
{
    std::error_code ec;
    fs::remove_all(strPath, ec);
}
