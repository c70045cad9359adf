#include "app/CrashHandler.h"

#include <windows.h>
#include <winternl.h>

#include <dbghelp.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <string_view>

#include "app/CrashFiles.h"
#include "app/CrashModules.h"
#include "app/CrashReport.h"
#include "platform/win32/ScopedWin.h"

namespace {

// The thread that crashed may hold the lock of the process heap or of the loader, and after a
// stack overflow it has little stack left. So it only hands the exception to the writer thread
// and waits. The writer, started at start-up, uses only what start-up set aside (the folder's
// handle, MiniDumpWriteDump's address, the module table, fixed buffers) and calls that take no
// lock of the process: its files are created with NtCreateFile by names relative to the folder,
// since CreateFileW allocates the full path from the process heap. The report is written before
// the dump, which dbghelp writes with the heap's help: a crash that left the heap locked still
// gets its report, and the wait for its dump ends after kDumpWaitMs. The wait is generous: Wine's
// dbghelp reads every module's debugging information first, which takes seconds.
constexpr DWORD kDumpWaitMs = 30000;
// Once the dump has returned, only the report's final text remains to be written.
constexpr DWORD kFinishWaitMs = 2000;
// Enough for a thread to start on a busy machine.
constexpr DWORD kWriterStartMs = 10000;
// The stack the main thread keeps for the handler after a stack overflow.
constexpr ULONG kStackGuarantee = 64 * 1024;

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// ntdll's notice of a module loaded or unloaded (LdrRegisterDllNotification); both kinds of
// notice share this layout.
struct sDllNotice {
    ULONG flags;
    const UNICODE_STRING* fullName;
    const UNICODE_STRING* baseName;
    void* base;
    ULONG size;
};
using DllNoticeFn = VOID(CALLBACK*)(ULONG reason, const sDllNotice* notice, void* context);
using LdrRegisterDllNotificationFn = NTSTATUS(NTAPI*)(ULONG flags, DllNoticeFn callback,
                                                      void* context, void** cookie);
constexpr ULONG kDllLoaded = 1;
constexpr ULONG kDllUnloaded = 2;

constexpr auto kNameCollision = static_cast<NTSTATUS>(0xC0000035);  // the name is taken

// Events and threads report failure as null.
struct sKernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};
using CScopedKernelHandle = CScopedHandle<sKernelHandleTraits>;

// Who finishes the crash's files once the dump is under way: the writer when MiniDumpWriteDump
// returns in time, the crashing thread when its wait ends first.
enum eDumpState : LONG { kDumpPending, kDumpFinishing, kDumpAbandoned };

struct sCrashState {
    HANDLE folder = INVALID_HANDLE_VALUE;  // where the crash's files go
    MiniDumpWriteDumpFn writeDump = nullptr;
    HANDLE wake = nullptr;  // set by the filter, with `exception` and `crashingThread` set
    HANDLE done = nullptr;  // set by the writer when it has finished
    DWORD writerThread = 0;
    std::atomic<DWORD> crashingThread{0};
    EXCEPTION_POINTERS* exception = nullptr;
    std::atomic<LONG> dumpState{kDumpPending};
    std::atomic<HANDLE> dumpFile{INVALID_HANDLE_VALUE};  // open while MiniDumpWriteDump runs
    SRWLOCK modulesLock = SRWLOCK_INIT;                  // serializes the table's writers
    CModuleTable modules;
    std::array<char, 64> dumpName{};
    std::array<char, 4096> reportText{};
};
sCrashState g_crash;

void RecordModule(const void* base, uint64_t size, const wchar_t* path, size_t chars) {
    std::array<char, 3072> utf8{};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, path, static_cast<int>(chars), utf8.data(),
                                          static_cast<int>(utf8.size()), nullptr, nullptr);
    if (bytes <= 0) {
        return;
    }
    AcquireSRWLockExclusive(&g_crash.modulesLock);
    g_crash.modules.Add({reinterpret_cast<uintptr_t>(base), size},
                        {utf8.data(), static_cast<size_t>(bytes)});
    ReleaseSRWLockExclusive(&g_crash.modulesLock);
}

// Runs inside the loader, with its lock held: records the module and asks nothing of the loader.
VOID CALLBACK OnDllNotice(ULONG reason, const sDllNotice* notice, void* /*context*/) {
    if (reason == kDllLoaded && notice->fullName != nullptr) {
        RecordModule(notice->base, notice->size, notice->fullName->Buffer,
                     notice->fullName->Length / sizeof(wchar_t));
    } else if (reason == kDllUnloaded) {
        AcquireSRWLockExclusive(&g_crash.modulesLock);
        g_crash.modules.MarkUnloaded(reinterpret_cast<uintptr_t>(notice->base));
        ReleaseSRWLockExclusive(&g_crash.modulesLock);
    }
}

// The modules loaded so far; those loaded later come through OnDllNotice.
void RecordLoadedModules() {
    const HANDLE process = GetCurrentProcess();
    std::array<HMODULE, 1024> handles{};
    DWORD bytes = 0;
    if (K32EnumProcessModules(process, handles.data(), sizeof(handles), &bytes) == 0) {
        return;
    }
    const size_t count = std::min<size_t>(bytes / sizeof(HMODULE), handles.size());
    std::array<wchar_t, 1024> path{};
    for (size_t i = 0; i < count; ++i) {
        MODULEINFO info{};
        if (K32GetModuleInformation(process, handles[i], &info, sizeof(info)) == 0) {
            continue;
        }
        const DWORD chars = GetModuleFileNameW(handles[i], path.data(), path.size());
        if (chars > 0 && chars < path.size()) {
            RecordModule(info.lpBaseOfDll, info.SizeOfImage, path.data(), chars);
        }
    }
}

// Creates the crash's files in the folder with NtCreateFile, which needs no heap, and keeps them
// open until it is destroyed.
class CNtCrashFiles final : public ICrashFileCreator {
public:
    CNtCrashFiles() = default;
    ~CNtCrashFiles() override {
        for (const HANDLE file : m_files) {
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    }
    CNtCrashFiles(const CNtCrashFiles&) = delete;
    CNtCrashFiles& operator=(const CNtCrashFiles&) = delete;

    eResult CreateNew(eCrashFile kind, std::string_view name) noexcept override {
        std::array<wchar_t, 64> wide{};
        if (name.empty() || name.size() >= wide.size()) {
            return eResult::Failed;
        }
        std::copy(name.begin(), name.end(), wide.begin());  // the names are ASCII
        UNICODE_STRING text{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                            static_cast<USHORT>(wide.size() * sizeof(wchar_t)), wide.data()};
        OBJECT_ATTRIBUTES attributes{};
        InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, g_crash.folder,
                                   nullptr);
        IO_STATUS_BLOCK io{};
        HANDLE file = INVALID_HANDLE_VALUE;
        const NTSTATUS status =
            NtCreateFile(&file, GENERIC_WRITE | DELETE | SYNCHRONIZE, &attributes, &io, nullptr,
                         FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ, FILE_CREATE,
                         FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
        if (status >= 0) {
            m_files[Index(kind)] = file;
            return eResult::Created;
        }
        m_errors[Index(kind)] = RtlNtStatusToDosError(status);
        return status == kNameCollision ? eResult::Exists : eResult::Failed;
    }

    void Remove(eCrashFile kind) noexcept override {
        HANDLE& file = m_files[Index(kind)];
        if (file != INVALID_HANDLE_VALUE) {
            MarkForDeletion(file);
            CloseHandle(file);
            file = INVALID_HANDLE_VALUE;
        }
    }

    // The file is deleted when its last handle is closed.
    static void MarkForDeletion(HANDLE file) noexcept {
        FILE_DISPOSITION_INFO deletion{TRUE};
        SetFileInformationByHandle(file, FileDispositionInfo, &deletion, sizeof(deletion));
    }

    [[nodiscard]] HANDLE File(eCrashFile kind) const noexcept { return m_files[Index(kind)]; }
    [[nodiscard]] uint32_t Error(eCrashFile kind) const noexcept { return m_errors[Index(kind)]; }

private:
    static size_t Index(eCrashFile kind) noexcept { return kind == eCrashFile::Report ? 0 : 1; }

    std::array<HANDLE, 2> m_files{INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    std::array<uint32_t, 2> m_errors{};
};

sCrashFacts FactsOf(const EXCEPTION_RECORD& record) {
    sCrashFacts facts;
    facts.exceptionCode = record.ExceptionCode;
    facts.address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    const CModuleTable::sFound module = g_crash.modules.Find(facts.address);
    facts.modulePath = module.path;
    facts.moduleBase = module.base;
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        facts.hasAccess = true;
        facts.accessKind = record.ExceptionInformation[0];
        facts.accessAddress = record.ExceptionInformation[1];
    }
    facts.threadId = g_crash.crashingThread.load();
    SYSTEMTIME now{};
    GetSystemTime(&now);
    facts.utc = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return facts;
}

// Writes the whole report over what the file held.
void WriteReport(HANDLE file, const sCrashFacts& facts) {
    const size_t length = FormatCrashReport(facts, g_crash.reportText);
    OVERLAPPED start{};
    DWORD written = 0;
    WriteFile(file, g_crash.reportText.data(), static_cast<DWORD>(length), &written, &start);
    SetEndOfFile(file);
}

eDumpOutcome WriteDump(HANDLE file, uint32_t& error) {
    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = g_crash.crashingThread.load();
    info.ExceptionPointers = g_crash.exception;
    info.ClientPointers = FALSE;
    if (g_crash.writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &info,
                          nullptr, nullptr) != 0) {
        return eDumpOutcome::Written;
    }
    error = GetLastError();
    return eDumpOutcome::WriteFailed;
}

// The report first, saying the dump is not written; then the dump, and the report again with
// what became of it. Returns when the report is final, or the dump was abandoned.
void WriteCrashFiles(CNtCrashFiles& files) {
    sCrashFacts facts = FactsOf(*g_crash.exception->ExceptionRecord);
    const sCrashClaim claim = ClaimCrashFiles(facts.utc, files);
    if (claim.attempt == 0) {
        return;
    }
    facts.dumpFile = CrashFileName(facts.utc, claim.attempt, eCrashFile::Dump, g_crash.dumpName);
    if (!claim.dumpCreated) {
        facts.dump = eDumpOutcome::NotCreated;
        facts.dumpError = files.Error(eCrashFile::Dump);
    } else if (g_crash.writeDump == nullptr) {
        facts.dump = eDumpOutcome::NoDbgHelp;
        files.Remove(eCrashFile::Dump);
    } else {
        facts.dump = eDumpOutcome::Unfinished;
    }
    WriteReport(files.File(eCrashFile::Report), facts);
    if (facts.dump != eDumpOutcome::Unfinished) {
        return;
    }
    g_crash.dumpFile.store(files.File(eCrashFile::Dump));
    facts.dump = WriteDump(files.File(eCrashFile::Dump), facts.dumpError);
    LONG pending = kDumpPending;
    if (!g_crash.dumpState.compare_exchange_strong(pending, kDumpFinishing)) {
        return;  // the crashing thread gave up waiting: the process is ending
    }
    if (facts.dump != eDumpOutcome::Written) {
        files.Remove(eCrashFile::Dump);
    }
    WriteReport(files.File(eCrashFile::Report), facts);
}

// Started at start-up; `ready` is the event it sets once running.
DWORD WINAPI CrashWriterThread(void* ready) {
    SetEvent(static_cast<HANDLE>(ready));
    WaitForSingleObject(g_crash.wake, INFINITE);
    {
        CNtCrashFiles files;
        WriteCrashFiles(files);
    }
    SetEvent(g_crash.done);
    return 0;
}

// Ends the process with the exception code as its exit status, without the system's dialog. At
// once: returning to the system would unwind the stack first, for which a stack overflow may not
// have left room.
LONG EndProcess(const EXCEPTION_POINTERS& exception) {
    TerminateProcess(GetCurrentProcess(), exception.ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The report says the dump is not written: its unfinished file goes with the process.
void AbandonDump() {
    const HANDLE dump = g_crash.dumpFile.load();
    if (dump != INVALID_HANDLE_VALUE) {
        CNtCrashFiles::MarkForDeletion(dump);
    }
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    const DWORD self = GetCurrentThreadId();
    if (self == g_crash.writerThread) {
        // The writer failed, in dbghelp on a heap the crash damaged: the report it wrote stands,
        // and the process ends as the first crash would have ended it.
        AbandonDump();
        const EXCEPTION_POINTERS* first = g_crash.exception;
        TerminateProcess(GetCurrentProcess(),
                         (first != nullptr ? first : exception)->ExceptionRecord->ExceptionCode);
    }
    DWORD none = 0;
    if (!g_crash.crashingThread.compare_exchange_strong(none, self)) {
        // Another thread's crash is being reported; its end ends the process.
        WaitForSingleObject(g_crash.done, kDumpWaitMs + kFinishWaitMs);
        return EndProcess(*exception);
    }
    g_crash.exception = exception;
    SetEvent(g_crash.wake);
    if (WaitForSingleObject(g_crash.done, kDumpWaitMs) != WAIT_OBJECT_0) {
        LONG pending = kDumpPending;
        if (g_crash.dumpState.compare_exchange_strong(pending, kDumpAbandoned)) {
            AbandonDump();
        } else {
            WaitForSingleObject(g_crash.done, kFinishWaitMs);
        }
    }
    return EndProcess(*exception);
}

// Endless recursion whose frames the compiler can neither merge nor drop.
volatile bool g_keepRecursing = true;
[[gnu::noinline]] int Recurse(volatile char* caller) {
    std::array<volatile char, 4096> frame{};
    frame[0] = caller != nullptr ? caller[1] : 1;
    if (!g_keepRecursing) {
        return 0;
    }
    return Recurse(frame.data()) + frame[2];
}

// A stray write through a pointer to a freed block of the process heap (over the block's header
// and the heap's links kept in it), then the heap used: the heap's own code faults while it holds
// the heap's lock.
void CorruptProcessHeap() {
    const HANDLE heap = GetProcessHeap();
    auto* block = static_cast<unsigned char*>(HeapAlloc(heap, 0, 64));
    HeapFree(heap, 0, block);
    unsigned char* volatile stray = block - 16;
    std::memset(stray, 0x41, 80);
    for (int i = 0; i < 100; ++i) {
        HeapAlloc(heap, 0, 64);
    }
}

}  // namespace

void InstallCrashHandler() noexcept {
    g_crash.folder = CreateFileW(L".", FILE_TRAVERSE | FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (g_crash.folder == INVALID_HANDLE_VALUE) {
        return;
    }
    // From the system's folder only: a dbghelp.dll beside the program or in the current folder is
    // not loaded.
    const HMODULE dbghelp = LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (dbghelp != nullptr) {
        g_crash.writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
            reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    }
    const auto registerNotices =
        reinterpret_cast<LdrRegisterDllNotificationFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "LdrRegisterDllNotification")));
    void* cookie = nullptr;
    if (registerNotices != nullptr) {
        registerNotices(0, OnDllNotice, nullptr, &cookie);
    }
    RecordLoadedModules();

    g_crash.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_crash.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const CScopedKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const CScopedKernelHandle writer(
        g_crash.wake == nullptr || g_crash.done == nullptr || ready.Get() == nullptr
            ? nullptr
            : CreateThread(nullptr, 0, CrashWriterThread, ready.Get(), 0, &g_crash.writerThread));
    // A new thread starts with the system's own set-up, which takes the heap's lock: a crash that
    // held that lock before the writer had run would leave it stuck.
    if (writer.Get() == nullptr ||
        WaitForSingleObject(ready.Get(), kWriterStartMs) != WAIT_OBJECT_0) {
        return;
    }
    ULONG guarantee = kStackGuarantee;
    SetThreadStackGuarantee(&guarantee);
    SetUnhandledExceptionFilter(OnUnhandledException);
}

eTestCrash TestCrashFromCommandLine(std::string_view commandLine) noexcept {
    const auto withoutBlanks = [](std::string_view text) {
        return text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
    };
    // The word after the switch.
    std::string_view rest = withoutBlanks(commandLine);
    rest = withoutBlanks(rest.substr(std::min(rest.find_first_of(" \t"), rest.size())));
    const std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
    if (word == "stack") {
        return eTestCrash::StackOverflow;
    }
    if (word == "heap") {
        return eTestCrash::HeapCorruption;
    }
    return eTestCrash::NullWrite;
}

void CrashForTest(eTestCrash kind) noexcept {
    switch (kind) {
        case eTestCrash::StackOverflow:
            Recurse(nullptr);
            break;
        case eTestCrash::HeapCorruption:
            CorruptProcessHeap();
            break;
        case eTestCrash::NullWrite: {
            // A volatile pointer, so that the compiler cannot know it is null (and emit a trap
            // instead), to a volatile int, so that it cannot drop the write as one nobody reads
            // before the exit.
            volatile int* volatile target = nullptr;
            *target = 1;
            break;
        }
    }
    ExitProcess(99);
}
