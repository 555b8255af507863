#include "CUdisksClient.h"

#include <gio/gio.h>

#include <cstring>

namespace
{
const char* const kService = "org.freedesktop.UDisks2";
const char* const kBlock = "org.freedesktop.UDisks2.Block";
const char* const kFilesystem = "org.freedesktop.UDisks2.Filesystem";
const char* const kDrive = "org.freedesktop.UDisks2.Drive";
// Listing is quick; mounting may wait for the user to authenticate.
const int kListTimeoutMs = 10000;
const int kActionTimeoutMs = 120000;

struct Objects
{
    std::string strFilesystem; // object of the block device with the file system
    std::string strDrive;      // its drive, or empty
    bool bCanPowerOff = false;
};

CUdisksClient::EResult fromError(GError* pError, std::string& rstrMessage)
{
    CUdisksClient::EResult eResult = CUdisksClient::eFailed;
    if (pError == nullptr)
        return eResult;
    gchar* pszName = g_dbus_error_get_remote_error(pError);
    const std::string strName = pszName ? pszName : "";
    g_free(pszName);
    if (g_error_matches(pError, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
        g_error_matches(pError, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
        g_error_matches(pError, G_DBUS_ERROR, G_DBUS_ERROR_SPAWN_SERVICE_NOT_FOUND))
        eResult = CUdisksClient::eNotRunning;
    else if (strName.rfind("org.freedesktop.UDisks2.Error.NotAuthorized", 0) == 0 ||
             g_error_matches(pError, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED))
        eResult = CUdisksClient::eNotAuthorized;
    else if (strName == "org.freedesktop.UDisks2.Error.DeviceBusy")
        eResult = CUdisksClient::eBusy;
    g_dbus_error_strip_remote_error(pError);
    rstrMessage = pError->message;
    g_error_free(pError);
    return eResult;
}

GVariant* call(GDBusConnection* pBus, const std::string& strObject, const char* pszInterface,
               const char* pszMethod, GVariant* pArgs, const char* pszReply, int nTimeoutMs,
               CUdisksClient::EResult& reResult, std::string& rstrMessage)
{
    GError* pError = nullptr;
    GVariant* pReply = g_dbus_connection_call_sync(
        pBus, kService, strObject.c_str(), pszInterface, pszMethod, pArgs, G_VARIANT_TYPE(pszReply),
        G_DBUS_CALL_FLAGS_ALLOW_INTERACTIVE_AUTHORIZATION, nTimeoutMs, nullptr, &pError);
    reResult = pReply ? CUdisksClient::eOk : fromError(pError, rstrMessage);
    return pReply;
}

GVariant* noOptions()
{
    return g_variant_new("(@a{sv})", g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0));
}

// The udisks2 objects that stand for strDevice.
CUdisksClient::EResult find(GDBusConnection* pBus, const std::string& strDevice, Objects& rObjects,
                            std::string& rstrMessage)
{
    CUdisksClient::EResult eResult;
    GVariant* pReply =
        call(pBus, "/org/freedesktop/UDisks2", "org.freedesktop.DBus.ObjectManager",
             "GetManagedObjects", nullptr, "(a{oa{sa{sv}}})", kListTimeoutMs, eResult, rstrMessage);
    if (pReply == nullptr)
        return eResult;
    GVariant* pObjects = g_variant_get_child_value(pReply, 0);
    eResult = CUdisksClient::eUnknownDevice;
    GVariantIter itObjects;
    g_variant_iter_init(&itObjects, pObjects);
    const gchar* pszPath = nullptr;
    GVariant* pInterfaces = nullptr;
    std::string strDrive;
    while (g_variant_iter_loop(&itObjects, "{&o@a{sa{sv}}}", &pszPath, &pInterfaces))
    {
        GVariant* pBlock = g_variant_lookup_value(pInterfaces, kBlock, nullptr);
        GVariant* pFs = g_variant_lookup_value(pInterfaces, kFilesystem, nullptr);
        if (pBlock != nullptr && pFs != nullptr && eResult != CUdisksClient::eOk)
        {
            GVariant* pDevice = g_variant_lookup_value(pBlock, "Device", G_VARIANT_TYPE("ay"));
            const gchar* pszDevice = pDevice ? g_variant_get_bytestring(pDevice) : "";
            if (strDevice == pszDevice)
            {
                eResult = CUdisksClient::eOk;
                rObjects.strFilesystem = pszPath;
                GVariant* pDrive = g_variant_lookup_value(pBlock, "Drive", G_VARIANT_TYPE("o"));
                if (pDrive != nullptr)
                {
                    strDrive = g_variant_get_string(pDrive, nullptr);
                    g_variant_unref(pDrive);
                }
            }
            if (pDevice != nullptr)
                g_variant_unref(pDevice);
        }
        if (pBlock != nullptr)
            g_variant_unref(pBlock);
        if (pFs != nullptr)
            g_variant_unref(pFs);
    }
    // Second pass: the drive, which may come before or after its block device.
    if (!strDrive.empty() && strDrive != "/")
    {
        g_variant_iter_init(&itObjects, pObjects);
        while (g_variant_iter_loop(&itObjects, "{&o@a{sa{sv}}}", &pszPath, &pInterfaces))
        {
            if (strDrive != pszPath)
                continue;
            GVariant* pDrive = g_variant_lookup_value(pInterfaces, kDrive, nullptr);
            if (pDrive == nullptr)
                continue;
            rObjects.strDrive = strDrive;
            gboolean b = FALSE;
            if (g_variant_lookup(pDrive, "CanPowerOff", "b", &b))
                rObjects.bCanPowerOff = b;
            g_variant_unref(pDrive);
        }
    }
    g_variant_unref(pObjects);
    g_variant_unref(pReply);
    return eResult;
}

GDBusConnection* systemBus(std::string& rstrMessage)
{
    GError* pError = nullptr;
    GDBusConnection* pBus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &pError);
    if (pBus == nullptr)
    {
        rstrMessage = pError ? pError->message : "no system bus";
        if (pError != nullptr)
            g_error_free(pError);
    }
    return pBus;
}

// Finds the device's objects on the system bus and, when that succeeds, runs
// fnAct on them; the answer is the search's or fnAct's.
template <class FnAct>
CUdisksClient::EResult onDevice(const std::string& strDevice, std::string& rstrMessage, FnAct fnAct)
{
    GDBusConnection* pBus = systemBus(rstrMessage);
    if (pBus == nullptr)
        return CUdisksClient::eNotRunning;
    Objects objects;
    CUdisksClient::EResult eResult = find(pBus, strDevice, objects, rstrMessage);
    if (eResult == CUdisksClient::eOk)
        fnAct(pBus, objects, eResult);
    g_object_unref(pBus);
    return eResult;
}
} // namespace

CUdisksClient::EResult CUdisksClient::mount(const std::string& strDevice,
                                            std::string& rstrMountPoint, std::string& rstrMessage)
{
    return onDevice(strDevice, rstrMessage,
                    [&](GDBusConnection* pBus, const Objects& rObjects, EResult& reResult)
                    {
                        GVariant* pReply =
                            call(pBus, rObjects.strFilesystem, kFilesystem, "Mount", noOptions(),
                                 "(s)", kActionTimeoutMs, reResult, rstrMessage);
                        if (pReply == nullptr)
                            return;
                        const gchar* pszMountPoint = nullptr;
                        g_variant_get(pReply, "(&s)", &pszMountPoint);
                        rstrMountPoint = pszMountPoint;
                        g_variant_unref(pReply);
                    });
}

CUdisksClient::EResult CUdisksClient::eject(const std::string& strDevice, std::string& rstrMessage)
{
    return onDevice(strDevice, rstrMessage,
                    [&](GDBusConnection* pBus, const Objects& rObjects, EResult& reResult)
                    {
                        GVariant* pReply =
                            call(pBus, rObjects.strFilesystem, kFilesystem, "Unmount", noOptions(),
                                 "()", kActionTimeoutMs, reResult, rstrMessage);
                        if (pReply != nullptr)
                            g_variant_unref(pReply);
                        if (reResult != eOk || !rObjects.bCanPowerOff)
                            return;
                        EResult ePower;
                        std::string strIgnored;
                        pReply = call(pBus, rObjects.strDrive, kDrive, "PowerOff", noOptions(),
                                      "()", kActionTimeoutMs, ePower, strIgnored);
                        if (pReply != nullptr)
                            g_variant_unref(pReply);
                    });
}
