// Move-only owners of Win32 handles: each releases its handle in the way the call that produced
// it requires, whichever way the scope ends, and can hand it over to another owner.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle; `Traits` names the handle type, its "none" value and how it is released.
template <typename Traits>
class CScopedHandle {
public:
    using Handle = typename Traits::Handle;

    CScopedHandle() noexcept = default;
    explicit CScopedHandle(Handle handle) noexcept : m_handle(handle) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    [[nodiscard]] Handle Get() const noexcept { return m_handle; }
    [[nodiscard]] bool IsValid() const noexcept { return m_handle != Traits::None(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without releasing.
    Handle Release() noexcept { return std::exchange(m_handle, Traits::None()); }
    void Reset(Handle handle = Traits::None()) noexcept {
        const Handle old = std::exchange(m_handle, handle);
        if (old != Traits::None()) {
            Traits::Close(old);
        }
    }

    // For the calls that return a handle through a pointer (RegOpenKeyEx): releases the current
    // one first.
    Handle* Receive() noexcept {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = Traits::None();
};

template <typename T>
struct sGdiObjectTraits {
    using Handle = T;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

struct sMemoryDcTraits {
    using Handle = HDC;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { DeleteDC(handle); }
};

struct sRegKeyTraits {
    using Handle = HKEY;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { RegCloseKey(handle); }
};

// CreateFile reports failure as INVALID_HANDLE_VALUE, not null.
struct sFileHandleTraits {
    using Handle = HANDLE;
    static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

using CScopedFont = CScopedHandle<sGdiObjectTraits<HFONT>>;
using CScopedBitmap = CScopedHandle<sGdiObjectTraits<HBITMAP>>;
// FindFirstFile(Ex) reports failure as INVALID_HANDLE_VALUE and is closed with FindClose.
struct sFindHandleTraits {
    using Handle = HANDLE;
    static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { FindClose(handle); }
};

using CScopedGdiObject = CScopedHandle<sGdiObjectTraits<HGDIOBJ>>;
using CScopedMemoryDC = CScopedHandle<sMemoryDcTraits>;  // from CreateCompatibleDC
using CScopedRegKey = CScopedHandle<sRegKeyTraits>;
using CScopedFile = CScopedHandle<sFileHandleTraits>;  // from CreateFile
using CScopedFind = CScopedHandle<sFindHandleTraits>;  // from FindFirstFile(Ex)

// A window's (or with a null window, the screen's) device context from GetDC, given back with
// ReleaseDC to the same window.
class CScopedWindowDC {
public:
    explicit CScopedWindowDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~CScopedWindowDC() { Reset(); }
    CScopedWindowDC(CScopedWindowDC&& other) noexcept
        : m_hwnd(other.m_hwnd), m_hdc(std::exchange(other.m_hdc, nullptr)) {}
    CScopedWindowDC& operator=(CScopedWindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hwnd = other.m_hwnd;
            m_hdc = std::exchange(other.m_hdc, nullptr);
        }
        return *this;
    }
    CScopedWindowDC(const CScopedWindowDC&) = delete;
    CScopedWindowDC& operator=(const CScopedWindowDC&) = delete;

    [[nodiscard]] HDC Get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    void Reset() noexcept {
        if (m_hdc != nullptr) {
            ReleaseDC(m_hwnd, std::exchange(m_hdc, nullptr));
        }
    }

    HWND m_hwnd;
    HDC m_hdc;
};

// Selects an object into a device context and selects the previous one back at the end of the
// scope, so the object can be deleted afterwards (a selected object cannot).
class CScopedSelection {
public:
    CScopedSelection(HDC hdc, HGDIOBJ object) noexcept
        : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
    ~CScopedSelection() { Restore(); }
    CScopedSelection(CScopedSelection&& other) noexcept
        : m_hdc(other.m_hdc), m_previous(std::exchange(other.m_previous, nullptr)) {}
    CScopedSelection& operator=(CScopedSelection&& other) noexcept {
        if (this != &other) {
            Restore();
            m_hdc = other.m_hdc;
            m_previous = std::exchange(other.m_previous, nullptr);
        }
        return *this;
    }
    CScopedSelection(const CScopedSelection&) = delete;
    CScopedSelection& operator=(const CScopedSelection&) = delete;

    // False when the selection failed (nothing to restore then).
    explicit operator bool() const noexcept {
        return m_previous != nullptr && m_previous != HGDI_ERROR;
    }

private:
    void Restore() noexcept {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) {
            SelectObject(m_hdc, std::exchange(m_previous, nullptr));
        }
    }

    HDC m_hdc;
    HGDIOBJ m_previous;
};
