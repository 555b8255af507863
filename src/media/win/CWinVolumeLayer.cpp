#include "CWinVolumeLayer.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winioctl.h>

#include <cstring>

namespace
{
// Room for 20 disk-geometry entries; the first one is all that is looked at.
const DWORD kMediaTypesBufferSize = 480;
static_assert(sizeof(DISK_GEOMETRY) * 20 == kMediaTypesBufferSize, "20 DISK_GEOMETRY entries");

const DWORD kNameBufferSize = 260;

std::wstring toWide(const std::string& str)
{
    if (str.empty())
        return std::wstring();
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), &strWide[0], n);
    return strWide;
}

std::string toUtf8(const wchar_t* pszWide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return std::string();
    std::string str(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, &str[0], n, nullptr, nullptr);
    str.resize(static_cast<size_t>(n - 1));
    return str;
}

// The system's own words for the last error, as strerror gives them on Linux.
bool fail(std::string& rstrError, const std::string& strWhat)
{
    const DWORD nError = GetLastError();
    wchar_t acText[512] = {};
    const DWORD nLength =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, nError,
                       0, acText, sizeof(acText) / sizeof(acText[0]), nullptr);
    std::string strText = nLength > 0 ? toUtf8(acText) : std::string();
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r' ||
                                strText.back() == ' ' || strText.back() == '.'))
        strText.pop_back();
    rstrError = strWhat + ": " + (strText.empty() ? "error " + std::to_string(nError) : strText);
    return false;
}

bool removeFile(const std::wstring& strPath)
{
    const DWORD nAttributes = GetFileAttributesW(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (nAttributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(strPath.c_str(), nAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return DeleteFileW(strPath.c_str()) != 0;
}

bool writeAll(HANDLE hFile, const void* pData, size_t nSize)
{
    const char* p = static_cast<const char*>(pData);
    while (nSize > 0)
    {
        const DWORD nChunk = nSize > 0x100000 ? 0x100000 : static_cast<DWORD>(nSize);
        DWORD nWritten = 0;
        if (!WriteFile(hFile, p, nChunk, &nWritten, nullptr) || nWritten == 0)
            return false;
        p += nWritten;
        nSize -= nWritten;
    }
    return true;
}

// Reads the file back, bypassing the system's cache where the volume allows
// it, and compares it with the data.
bool verify(const std::wstring& strPath, const void* pData, size_t nSize, std::string& rstrError)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return fail(rstrError, "cannot open the temporary file to read it back");

    // Page-aligned and a multiple of any sector size, as unbuffered reads need.
    const DWORD nChunk = 64 * 1024;
    char* pBuffer =
        static_cast<char*>(VirtualAlloc(nullptr, nChunk, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    bool bSame = pBuffer != nullptr;
    size_t nDone = 0;
    while (bSame)
    {
        DWORD nRead = 0;
        if (!ReadFile(hFile, pBuffer, nChunk, &nRead, nullptr))
        {
            fail(rstrError, "cannot read the temporary file back");
            bSame = false;
            break;
        }
        if (nRead > nSize - nDone ||
            std::memcmp(pBuffer, static_cast<const char*>(pData) + nDone, nRead) != 0)
            bSame = false;
        nDone += nRead;
        if (nRead < nChunk)
            break;
    }
    if (bSame && nDone != nSize)
        bSame = false;
    if (!bSame && rstrError.empty())
        rstrError = "the data read back differs from the data written";
    if (pBuffer != nullptr)
        VirtualFree(pBuffer, 0, MEM_RELEASE);
    CloseHandle(hFile);
    return bSame;
}
} // namespace

std::vector<std::string> CWinVolumeLayer::drives()
{
    const DWORD nMask = GetLogicalDrives();
    std::vector<std::string> astrRoots;
    for (int i = 0; i < 26; ++i)
        astrRoots.push_back((nMask & (DWORD(1) << i)) != 0
                                ? std::string(1, static_cast<char>('A' + i)) + ":\\"
                                : std::string());
    return astrRoots;
}

bool CWinVolumeLayer::isRemovable(const std::string& strRoot)
{
    return GetDriveTypeW(toWide(strRoot).c_str()) == DRIVE_REMOVABLE;
}

bool CWinVolumeLayer::volumeInfo(const std::string& strRoot, VolumeInfo& rInfo)
{
    wchar_t acLabel[kNameBufferSize] = {};
    wchar_t acFileSystem[kNameBufferSize] = {};
    DWORD nFlags = 0;
    // Without this, a reader without a card makes the system ask the user.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    const BOOL bOk =
        GetVolumeInformationW(toWide(strRoot).c_str(), acLabel, kNameBufferSize, nullptr, nullptr,
                              &nFlags, acFileSystem, kNameBufferSize);
    SetErrorMode(0);
    if (!bOk)
        return false;
    rInfo.strLabel = toUtf8(acLabel);
    rInfo.bReadOnly = (nFlags & FILE_READ_ONLY_VOLUME) != 0;
    rInfo.bCompressed = (nFlags & FILE_VOLUME_IS_COMPRESSED) != 0;
    return true;
}

CVolumeLayer::EMediaQuery CWinVolumeLayer::mediaType(const std::string& strRoot, int& rnType)
{
    if (strRoot.empty())
        return eMediaFailed;
    std::wstring strDevice = L"\\\\.\\A:";
    strDevice[4] = static_cast<wchar_t>(strRoot[0]);
    HANDLE hDevice = CreateFileW(strDevice.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (hDevice == INVALID_HANDLE_VALUE)
        return eMediaFailed;
    DISK_GEOMETRY aGeometry[kMediaTypesBufferSize / sizeof(DISK_GEOMETRY)];
    DWORD nReturned = 0;
    EMediaQuery eResult = eMediaFailed;
    if (DeviceIoControl(hDevice, IOCTL_STORAGE_GET_MEDIA_TYPES, nullptr, 0, aGeometry,
                        kMediaTypesBufferSize, &nReturned, nullptr))
    {
        rnType = static_cast<int>(aGeometry[0].MediaType);
        eResult = eMediaReported;
    }
    else
        GetLastError();
    CloseHandle(hDevice);
    return eResult;
}

uint32_t CWinVolumeLayer::fileAttributes(const std::string& strPath)
{
    const DWORD nAttributes = GetFileAttributesW(toWide(strPath).c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    return nAttributes &
           (eAttrReadOnly | eAttrHidden | eAttrSystem | eAttrCompressed | eAttrEncrypted);
}

bool CWinVolumeLayer::freeSpace(const std::string& strRoot, uint64_t& rnBytes)
{
    ULARGE_INTEGER nFree;
    if (!GetDiskFreeSpaceExW(toWide(strRoot).c_str(), &nFree, nullptr, nullptr))
        return false;
    rnBytes = nFree.QuadPart;
    return true;
}

bool CWinVolumeLayer::replaceFile(const std::string& strPath, const std::string& strTempPath,
                                  const void* pData, size_t nSize, std::string& strError)
{
    strError.clear();
    const std::wstring strTarget = toWide(strPath);
    const std::wstring strTemp = toWide(strTempPath);
    // Left behind by an earlier write that was cut short.
    if (!removeFile(strTemp))
        return fail(strError, "cannot remove the old temporary file");

    HANDLE hFile = CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return fail(strError, "cannot create the temporary file");
    bool bOk = writeAll(hFile, pData, nSize) || fail(strError, "cannot write the temporary file");
    bOk = bOk && (FlushFileBuffers(hFile) || fail(strError, "cannot flush the temporary file"));
    if (!CloseHandle(hFile) && bOk)
        bOk = fail(strError, "cannot close the temporary file");
    bOk = bOk && verify(strTemp, pData, nSize, strError);
    bOk = bOk && (MoveFileExW(strTemp.c_str(), strTarget.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
                  fail(strError, "cannot replace the file"));
    if (!bOk)
        removeFile(strTemp);
    return bOk;
}

std::unique_ptr<CVolumeLayer> CVolumeLayer::createPlatform()
{
    return std::make_unique<CWinVolumeLayer>();
}

std::vector<CVolumeLayer::NotOffered> CWinVolumeLayer::notOffered()
{
    // Only FAT file systems are found on cards; other drives are listed
    // with --all only.
    const auto isCardFileSystem = [](const std::string& strRoot)
    {
        wchar_t acFileSystem[kNameBufferSize] = {};
        SetErrorMode(SEM_FAILCRITICALERRORS);
        const BOOL bOk = GetVolumeInformationW(toWide(strRoot).c_str(), nullptr, 0, nullptr,
                                               nullptr, nullptr, acFileSystem, kNameBufferSize);
        SetErrorMode(0);
        const std::string strFs = bOk ? toUtf8(acFileSystem) : std::string();
        return strFs == "FAT" || strFs == "FAT32" || strFs == "exFAT";
    };
    std::vector<NotOffered> aNot;
    for (const std::string& strRoot : drives())
    {
        if (strRoot.empty())
            continue;
        switch (GetDriveTypeW(toWide(strRoot).c_str()))
        {
        case DRIVE_REMOVABLE:
        {
            VolumeInfo info;
            int nType = 0;
            if (!volumeInfo(strRoot, info))
                aNot.push_back({strRoot, "no medium in the drive", true});
            else if (mediaType(strRoot, nType) == eMediaReported && nType != kRemovableMedia)
                aNot.push_back({strRoot,
                                "the device reports media type " + std::to_string(nType) +
                                    ", not a removable medium",
                                true});
            break;
        }
        case DRIVE_FIXED:
            aNot.push_back({strRoot, "fixed disk", isCardFileSystem(strRoot)});
            break;
        case DRIVE_REMOTE:
            aNot.push_back({strRoot, "network drive", false});
            break;
        case DRIVE_CDROM:
            aNot.push_back({strRoot, "CD or DVD drive", false});
            break;
        case DRIVE_RAMDISK:
            aNot.push_back({strRoot, "RAM disk", false});
            break;
        default:
            aNot.push_back({strRoot, "drive of unknown type", false});
            break;
        }
    }
    return aNot;
}
