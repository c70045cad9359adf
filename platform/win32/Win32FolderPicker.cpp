#include "platform/win32/Win32FolderPicker.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/Utf16.h"

namespace {

// Releases a COM interface at the end of its scope.
template <typename Interface>
class CComRef {
public:
    CComRef() noexcept = default;
    ~CComRef() {
        if (m_p != nullptr) {
            m_p->Release();
        }
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    [[nodiscard]] Interface* operator->() const noexcept { return m_p; }
    [[nodiscard]] Interface* Get() const noexcept { return m_p; }
    [[nodiscard]] void** Receive() noexcept { return reinterpret_cast<void**>(&m_p); }
    [[nodiscard]] Interface** ReceiveTyped() noexcept { return &m_p; }

private:
    Interface* m_p = nullptr;
};

// COM for this thread for as long as the picker is open, undone only when it was done here.
class CComScope {
public:
    CComScope() noexcept
        : m_bInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComScope() {
        if (m_bInitialised) {
            CoUninitialize();
        }
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_bInitialised;
};

}  // namespace

std::optional<std::string> CWin32FolderPicker::PickFolder(const std::string& start) {
    const CComScope com;
    CComRef<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, dialog.Receive()))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options)) ||
        FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM |
                                  FOS_PATHMUSTEXIST))) {
        return std::nullopt;
    }
    dialog->SetTitle(L"Hand history folder");
    if (!start.empty()) {
        CComRef<IShellItem> startItem;
        if (SUCCEEDED(SHCreateItemFromParsingName(WideFromUtf8(start).c_str(), nullptr,
                                                  IID_IShellItem, startItem.Receive()))) {
            dialog->SetFolder(startItem.Get());
        }
    }
    if (FAILED(dialog->Show(m_hOwner))) {
        return std::nullopt;  // cancelled, or the picker could not open
    }
    CComRef<IShellItem> chosen;
    if (FAILED(dialog->GetResult(chosen.ReceiveTyped()))) {
        return std::nullopt;
    }
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path != nullptr &&
        path[0] != L'\0') {
        folder = Utf8FromWide(path);
    }
    CoTaskMemFree(path);
    return folder;
}
