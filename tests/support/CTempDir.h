// A fresh directory for one test, removed with everything in it at the end.
#pragma once

#include <string>

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    // Without a trailing separator.
    const std::string& path() const { return m_strPath; }
    // strRelative below path(), with the system's separators
    std::string file(const std::string& strRelative) const;

    // Writes a file (creating its folders); false on failure.
    bool write(const std::string& strRelative, const std::string& strContent) const;
    static bool writeFile(const std::string& strPath, const std::string& strContent);
    static std::string readFile(const std::string& strPath);
    static bool exists(const std::string& strPath);
    static bool makeDirs(const std::string& strPath);
    static void removeAll(const std::string& strPath);
    // A character device of the test's own (as root only: empty otherwise),
    // so that a writer that went wrong replaces it and not one of /dev.
    std::string device(const std::string& strRelative, unsigned nMajor, unsigned nMinor) const;

private:
    std::string m_strPath;
};
