// A custom action of the installer (msi/tarpo.wxs). Windows Installer cannot
// replace or remove a running program: it would finish the job only at the
// next restart and still report success. So this action stops an install,
// upgrade or removal while tarpo.exe is in use, before anything has changed,
// with a message that says why.
#include <windows.h>
// The installer's API needs the types of <windows.h> first.
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

constexpr wchar_t kInUseMessage[] = L"tarpo is running. Close it, then run the installer again.";

// Returns the value of an installer property, or an empty string if unset.
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

// Windows refuses to open a running program's file for writing, so a sharing
// violation means the program is running.
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
