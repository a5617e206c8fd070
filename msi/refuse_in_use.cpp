// A custom action of the installer (msi/tarpo.wxs). Windows Installer cannot
// replace or remove a program that is running: it would finish the job only at
// the next restart and report success. This action stops an install, upgrade
// or removal while tarpo.exe is in use, with a message that says why, before
// anything has changed.
#include <windows.h>
// The installer's API needs the types of <windows.h> first.
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

constexpr wchar_t kInUseMessage[] = L"tarpo is running. Close it, then run the installer again.";

// The value of an installer property; empty if it is not set.
std::wstring Property(MSIHANDLE install, const wchar_t* name) {
    DWORD length = 0;
    wchar_t probe[1] = L"";
    if (MsiGetPropertyW(install, name, probe, &length) != ERROR_MORE_DATA) return {};
    std::wstring value(length, L'\0');
    length += 1;  // room for the terminator
    if (MsiGetPropertyW(install, name, value.data(), &length) != ERROR_SUCCESS) return {};
    value.resize(length);
    return value;
}

// Whether a running program holds the file: Windows lets nobody write to it.
bool InUse(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall RefuseWhileInUse(MSIHANDLE install) {
    if (!InUse(Property(install, L"INSTALLDIR") + L"tarpo.exe")) return ERROR_SUCCESS;
    PMSIHANDLE message = MsiCreateRecord(0);
    MsiRecordSetStringW(message, 0, kInUseMessage);
    MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR),
                      message);
    return ERROR_INSTALL_FAILURE;
}
