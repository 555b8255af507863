#include "CTempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace fs = std::filesystem;

namespace
{
// Paths are UTF-8 everywhere in the tests; Windows wants them wide.
fs::path native(const std::string& strPath)
{
    return fs::u8path(strPath);
}
} // namespace

CTempDir::CTempDir()
{
    // In the system's temporary folder (TMPDIR on Unix), under a fresh name.
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (int nTry = 0; nTry < 100; ++nTry)
    {
        const fs::path dir = base / ("zolt-" + std::to_string(random() % 1000000000u));
        std::error_code ec;
        if (fs::create_directory(dir, ec))
        {
            m_strPath = fs::canonical(dir).u8string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

CTempDir::~CTempDir()
{
    removeAll(m_strPath);
}

std::string CTempDir::file(const std::string& strRelative) const
{
    // With the system's own separators, as the toolkit gives paths back.
    return (native(m_strPath) / native(strRelative)).make_preferred().u8string();
}

std::string CTempDir::device(const std::string& strRelative, unsigned nMajor, unsigned nMinor) const
{
#ifdef _WIN32
    (void)strRelative, (void)nMajor, (void)nMinor;
    return std::string();
#else
    const std::string strPath = file(strRelative);
    if (mknod(strPath.c_str(), S_IFCHR | 0666, makedev(nMajor, nMinor)) != 0)
        return std::string();
    return strPath;
#endif
}

bool CTempDir::write(const std::string& strRelative, const std::string& strContent) const
{
    const std::string strPath = file(strRelative);
    return makeDirs(native(strPath).parent_path().u8string()) && writeFile(strPath, strContent);
}

bool CTempDir::writeFile(const std::string& strPath, const std::string& strContent)
{
    std::ofstream out(native(strPath), std::ios::binary | std::ios::trunc);
    out << strContent;
    out.close();
    return !out.fail();
}

std::string CTempDir::readFile(const std::string& strPath)
{
    std::ifstream in(native(strPath), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool CTempDir::exists(const std::string& strPath)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(native(strPath), ec));
}

bool CTempDir::makeDirs(const std::string& strPath)
{
    std::error_code ec;
    fs::create_directories(native(strPath), ec);
    return fs::is_directory(native(strPath), ec);
}

void CTempDir::removeAll(const std::string& strPath)
{
    std::error_code ec;
    fs::remove_all(native(strPath), ec);
}
