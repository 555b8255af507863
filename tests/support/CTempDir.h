// A fresh directory for one test, removed with all in it; UTF-8 paths (u8path for Windows).
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

class CTempDir
{
public:
    CTempDir()
    {
        const auto dir =
            std::filesystem::temp_directory_path() /
            ("zolt-" + std::to_string(std::random_device()()) + "-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        if (!std::filesystem::create_directory(dir)) // throws when it fails otherwise
            throw std::runtime_error("taken: " + dir.u8string());
        m_strPath = std::filesystem::canonical(dir).u8string();
    }
    ~CTempDir() { removeAll(m_strPath); }

    // Without a trailing separator.
    const std::string& path() const { return m_strPath; }
    // strRelative below path(), with the system's separators as the toolkit gives them
    std::string file(const std::string& strRelative) const
    {
        return (native(m_strPath) / native(strRelative)).make_preferred().u8string();
    }
    // Writes a file (creating its folders); false on failure.
    bool write(const std::string& strRelative, const std::string& strContent) const
    {
        return makeDirs(native(file(strRelative)).parent_path().u8string()) &&
               writeFile(file(strRelative), strContent);
    }
    static bool writeFile(const std::string& strPath, const std::string& strContent)
    {
        std::ofstream out(native(strPath), std::ios::binary | std::ios::trunc);
        return !(out << strContent).fail() && !out.flush().fail();
    }
    static std::string readFile(const std::string& strPath)
    {
        std::ifstream in(native(strPath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool exists(const std::string& strPath)
    {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(native(strPath), ec));
    }
    static bool makeDirs(const std::string& strPath)
    {
        std::error_code ec;
        std::filesystem::create_directories(native(strPath), ec);
        return std::filesystem::is_directory(native(strPath), ec);
    }
    static void removeAll(const std::string& strPath)
    {
        std::error_code ec;
        std::filesystem::remove_all(native(strPath), ec);
    }
    // A character device of the test's own (as root only: empty otherwise),
    // so that a writer that went wrong replaces it and not one of /dev.
    std::string device(const std::string& strRelative, unsigned nMajor, unsigned nMinor) const
    {
#ifdef _WIN32
        return (void)strRelative, (void)nMajor, (void)nMinor, std::string();
#else
        const std::string strPath = file(strRelative);
        return mknod(strPath.c_str(), S_IFCHR | 0666, makedev(nMajor, nMinor)) == 0 ? strPath : "";
#endif
    }

private:
    static std::filesystem::path native(const std::string& str)
    {
        return std::filesystem::u8path(str);
    }

    std::string m_strPath;
};
