#include "CTempDir.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

CTempDir::CTempDir()
{
    const char* pszBase = getenv("TMPDIR");
    std::string strTemplate = std::string(pszBase && *pszBase ? pszBase : "/tmp") + "/zolt-XXXXXX";
    if (mkdtemp(&strTemplate[0]) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    char* pszReal = realpath(strTemplate.c_str(), nullptr);
    m_strPath = pszReal ? pszReal : strTemplate;
    free(pszReal);
}

CTempDir::~CTempDir()
{
    removeAll(m_strPath);
}

std::string CTempDir::file(const std::string& strRelative) const
{
    return m_strPath + "/" + strRelative;
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
    struct stat st;
    return lstat(strPath.c_str(), &st) == 0;
}

bool CTempDir::makeDirs(const std::string& strPath)
{
    for (size_t n = 1; n != std::string::npos; n = strPath.find('/', n + 1))
    {
        const std::string strPart = strPath.substr(0, n);
        if (!strPart.empty() && mkdir(strPart.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return mkdir(strPath.c_str(), 0755) == 0 || errno == EEXIST;
}

void CTempDir::removeAll(const std::string& strPath)
{
    struct stat st;
    if (lstat(strPath.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode))
    {
        chmod(strPath.c_str(), 0755);
        if (DIR* pDir = opendir(strPath.c_str()))
        {
            while (const dirent* pEntry = readdir(pDir))
            {
                const std::string strName = pEntry->d_name;
                if (strName != "." && strName != "..")
                    removeAll(strPath + "/" + strName);
            }
            closedir(pDir);
        }
        rmdir(strPath.c_str());
    }
    else
        unlink(strPath.c_str());
}
