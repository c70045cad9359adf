#include "app/CrashHandler.h"

#include <windows.h>

#include <dbghelp.h>

#include <array>
#include <span>
#include <string_view>

#include "app/CrashReport.h"

namespace {

// Everything the handler needs is fixed in size and set aside before a crash: a failing process
// may have a broken heap.
constexpr DWORD kPathChars = 1024;
std::array<wchar_t, kPathChars> g_reportPath{};
std::array<wchar_t, kPathChars> g_dumpPath{};
std::array<wchar_t, kPathChars> g_moduleWide{};
std::array<char, 3 * kPathChars> g_moduleUtf8{};
std::array<char, 4096> g_reportText{};

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// The full path of a file named `name` (ASCII) in the current folder.
bool FullPath(std::string_view name, std::array<wchar_t, kPathChars>& path) {
    std::array<wchar_t, 64> wideName{};
    if (name.size() >= wideName.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        wideName[i] = static_cast<wchar_t>(name[i]);
    }
    const DWORD length = GetFullPathNameW(wideName.data(), kPathChars, path.data(), nullptr);
    return length > 0 && length < kPathChars;
}

HANDLE CreateNewFile(const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// The module holding `address`, as a UTF-8 path, and its base; an empty path when none does.
std::string_view ModuleOf(const void* address, uint64_t& base) {
    HMODULE module = nullptr;
    if (GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(address), &module) == 0) {
        return {};
    }
    base = reinterpret_cast<uintptr_t>(module);
    const DWORD chars = GetModuleFileNameW(module, g_moduleWide.data(), kPathChars);
    if (chars == 0 || chars >= kPathChars) {
        return {};
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, g_moduleWide.data(), static_cast<int>(chars),
                                          g_moduleUtf8.data(),
                                          static_cast<int>(g_moduleUtf8.size()), nullptr, nullptr);
    return {g_moduleUtf8.data(), bytes > 0 ? static_cast<size_t>(bytes) : 0};
}

void WriteDump(EXCEPTION_POINTERS* exception, sCrashFacts& facts) {
    // Loaded only now: a system without it still gets the report.
    const HMODULE dbghelp = LoadLibraryW(L"dbghelp.dll");
    const auto write = dbghelp == nullptr
                           ? nullptr
                           : reinterpret_cast<MiniDumpWriteDumpFn>(reinterpret_cast<void*>(
                                 GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    if (write == nullptr) {
        facts.dump = eDumpOutcome::NoDbgHelp;
        return;
    }
    const HANDLE file = CreateNewFile(g_dumpPath.data());
    if (file == INVALID_HANDLE_VALUE) {
        facts.dump = eDumpOutcome::NotCreated;
        facts.dumpError = GetLastError();
        return;
    }
    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    if (write(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &info, nullptr,
              nullptr) != 0) {
        facts.dump = eDumpOutcome::Written;
    } else {
        facts.dump = eDumpOutcome::WriteFailed;
        facts.dumpError = GetLastError();
    }
    CloseHandle(file);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    sCrashFacts facts;
    facts.exceptionCode = record.ExceptionCode;
    facts.address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    facts.modulePath = ModuleOf(record.ExceptionAddress, facts.moduleBase);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        facts.hasAccess = true;
        facts.accessKind = record.ExceptionInformation[0];
        facts.accessAddress = record.ExceptionInformation[1];
    }
    facts.threadId = GetCurrentThreadId();
    SYSTEMTIME now{};
    GetSystemTime(&now);
    facts.utc = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    WriteDump(exception, facts);

    const size_t length = FormatCrashReport(facts, g_reportText);
    const HANDLE file = CreateNewFile(g_reportPath.data());
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, g_reportText.data(), static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(file);
    }
    // Ends the process with the exception code as its exit status, without the system's dialog.
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashHandler() noexcept {
    if (!FullPath(kCrashReportFile, g_reportPath) || !FullPath(kCrashDumpFile, g_dumpPath)) {
        return;
    }
    SetUnhandledExceptionFilter(OnUnhandledException);
}

void CrashForTest() noexcept {
    // A volatile pointer, so that the compiler cannot know it is null (and emit a trap instead),
    // to a volatile int, so that it cannot drop the write as one nobody reads before the exit.
    volatile int* volatile target = nullptr;
    *target = 1;
    ExitProcess(99);
}
