// The Windows side of platform/, run under Wine by ctest: the cases of the Linux platform tests
// where Wine allows, and the file calls behind the 7-Zip client streams. No Qt: the Windows
// files of platform/ use Win32 and the standard library only.
//
//   tst_platform_win [case...]        runs every case, or those named
//   tst_platform_win <role> [arg]     a child process the cases start (see runRole)
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "autostart.h"
#include "crashhandler.h"
#include "diskspace.h"
#include "fileentries.h"
#include "namedmutex.h"
#include "processes.h"
#include "streamfile.h"
#include "systeminfo.h"
#include "uilanguage.h"
#include "widestring_win.h"

namespace {

struct Failed
{
};
struct Skipped
{
    std::string reason;
};

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::printf("    %s:%d: CHECK(%s) failed\n", __FILE__, __LINE__, #condition);          \
            throw Failed{};                                                                        \
        }                                                                                          \
    } while (0)
#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        const auto a_ = (actual);                                                                  \
        const auto e_ = (expected);                                                                \
        if (!(a_ == e_)) {                                                                         \
            std::printf("    %s:%d: %s == %s failed (%lld vs %lld)\n", __FILE__, __LINE__,         \
                        #actual, #expected, static_cast<long long>(a_),                            \
                        static_cast<long long>(e_));                                               \
            throw Failed{};                                                                        \
        }                                                                                          \
    } while (0)

constexpr int kMutexExists = 10;
constexpr int kMutexAbsent = 11;

std::wstring selfPath()
{
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::wstring(buffer, n);
}

std::string utf8(const std::wstring &wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

// A started copy of this program (or of another image), ended when it goes out of scope.
class Child
{
public:
    Child(const std::wstring &image, const std::wstring &arguments,
          const std::wstring &folder = std::wstring())
    {
        std::wstring commandLine = L"\"" + image + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessW(image.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &m_info))
            m_info = {};
        else
            CloseHandle(m_info.hThread);
    }
    ~Child()
    {
        if (!m_info.hProcess)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, 10000);
        }
        CloseHandle(m_info.hProcess);
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    bool started() const { return m_info.hProcess != nullptr; }
    DWORD pid() const { return m_info.dwProcessId; }
    // The exit code, or -1 when it did not end in time.
    long long wait(DWORD milliseconds)
    {
        if (WaitForSingleObject(m_info.hProcess, milliseconds) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }
    void kill() { TerminateProcess(m_info.hProcess, 1); }

private:
    PROCESS_INFORMATION m_info = {};
};

bool waitFor(const std::function<bool()> &condition, DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

// A fresh folder under the temporary folder, removed with its content afterwards.
class TempFolder
{
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        m_path = std::wstring(base) + L"lunmere-wintest-" + std::to_wstring(GetCurrentProcessId()) +
                 L"-" + std::to_wstring(++counter);
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { removeTree(m_path); }
    std::wstring path(const std::wstring &name = std::wstring()) const
    {
        return name.empty() ? m_path : m_path + L"\\" + name;
    }
    std::string utf8Path(const std::wstring &name = std::wstring()) const
    {
        return utf8(path(name));
    }
    // Names in the folder, hidden ones included.
    std::vector<std::wstring> names(const std::wstring &pattern = L"*") const
    {
        std::vector<std::wstring> result;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_path + L"\\" + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return result;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                result.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return result;
    }

private:
    static void removeTree(const std::wstring &path)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = path + L"\\" + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring m_path;
};

bool writeWholeFile(const std::wstring &path, const std::string &data)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
        written == data.size();
    CloseHandle(file);
    return ok;
}

std::string readWholeFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        data.append(buffer, got);
    CloseHandle(file);
    return data;
}

std::string noise(std::size_t size, std::uint32_t seed)
{
    std::string data(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char &c : data) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return data;
}

int queryMutex(const std::string &name)
{
    Child query(selfPath(), L"query-mutex " + platform::widen(name));
    return query.started() ? static_cast<int>(query.wait(30000)) : -1;
}

// ---- cases ----

void namedMutexIsSeenWhileItsOwnerLives()
{
    const std::string name = "Quillane_wintest" + std::to_string(GetCurrentProcessId()) + "_update";
    // Asked from other processes: a handle of this one would keep the mutex alive.
    CHECK_EQ(queryMutex(name), kMutexAbsent);
    Child holder(selfPath(), L"hold-mutex " + platform::widen(name));
    CHECK(holder.started());
    CHECK(waitFor([&] { return queryMutex(name) == kMutexExists; }, 20000));
    {
        platform::NamedMutex second(name);
        CHECK(!second.isHeld());
    }
    holder.kill();
    CHECK(holder.wait(10000) != -1);
    CHECK_EQ(queryMutex(name), kMutexAbsent);
    platform::NamedMutex mine(name);
    CHECK(mine.isHeld());
    CHECK(platform::namedMutexExists(name));
}

void crashWritesANamedMiniDumpAndStillDies()
{
    TempFolder folder;
    SYSTEMTIME before;
    GetLocalTime(&before);
    Child crasher(selfPath(), L"crash", folder.path());
    CHECK(crasher.started());
    const long long code = crasher.wait(60000);
    CHECK(code != -1);
    CHECK(code != 0);
    const std::vector<std::wstring> dumps = folder.names(L"DumpFile-*.dmp");
    CHECK_EQ(dumps.size(), 1u);
    const std::string name = utf8(dumps.front());
    // DumpFile-YYYYMMDD-HHMMSS.dmp in local time.
    CHECK_EQ(name.size(), std::strlen("DumpFile-20260101-120000.dmp"));
    for (std::size_t i : {9u, 10u, 11u, 12u, 13u, 14u, 15u, 16u, 18u, 19u, 20u, 21u, 22u, 23u})
        CHECK(name[i] >= '0' && name[i] <= '9');
    CHECK(name[17] == '-');
    char year[5];
    std::snprintf(year, sizeof year, "%04d", before.wYear);
    CHECK(name.compare(9, 4, year) == 0);
    const std::string dump = readWholeFile(folder.path(dumps.front()));
    CHECK(dump.size() > 1024);
    CHECK(dump.compare(0, 4, "MDMP") == 0);
}

void uiLanguageFollowsTheLocale()
{
    struct Row
    {
        const char *locale;
        unsigned short id;
    };
    const Row rows[] = {{"zh_TW.UTF-8", 0x0404},
                        {"zh_HK", 0x0C04},
                        {"zh_CN.UTF-8", 0x0804},
                        {"pt_PT", 0x0816},
                        {"pt_BR.UTF-8", 0x0416},
                        {"de_DE.UTF-8@euro", 0x0407},
                        {"it_IT", 0x0410},
                        {"th_TH", 0x041E},
                        {"vi_VN", 0x042A},
                        {"C", 0x0409},
                        {"", 0x0409}};
    for (const Row &row : rows) {
        std::printf("    %s\n", row.locale);
        CHECK_EQ(platform::languageIdForLocale(row.locale), row.id);
    }
    // ctest runs this program with LC_ALL set and says which id that locale is.
    const char *expected = std::getenv("LUNMERE_EXPECTED_LANGID");
    if (!expected)
        throw Skipped{"LUNMERE_EXPECTED_LANGID is not set: the user language was not checked"};
    const char *lcAll = std::getenv("LC_ALL");
    std::printf("    LC_ALL=%s\n", lcAll ? lcAll : "");
    CHECK_EQ(platform::userUiLanguageId(), std::strtoul(expected, nullptr, 0));
}

void diskSpaceOfADriveAndOfNoVolume()
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    CHECK(platform::availableBytes(utf8(windows) + "\\Games\\Kestrava") > 0);
    CHECK_EQ(platform::availableBytes("Games\\Kestrava"), -1);
    const DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 0; --letter) {
        if (!(drives & (1u << letter))) {
            const std::string missing = std::string(1, static_cast<char>('A' + letter)) + ":\\x";
            CHECK_EQ(platform::availableBytes(missing), -1);
            break;
        }
    }
}

void physicalMemoryIsReported()
{
    unsigned long long available = 0;
    unsigned long long total = 0;
    CHECK(platform::physicalMemory(&available, &total));
    CHECK(available > 0);
    CHECK(total >= available);
    CHECK(total > 64ull * 1024 * 1024);
}

void registryValuesInThe64BitView()
{
    CHECK(!platform::processorName().empty());
    const std::string name = "Lunmere_wintest" + std::to_string(GetCurrentProcessId());
    const std::string program = "C:\\Games\\Lunmere\\launcher.exe";
    const std::string location = platform::autoStartLocation(name);
    const std::string prefix = "HKEY_LOCAL_MACHINE\\";
    CHECK(location.compare(0, prefix.size(), prefix) == 0);
    const std::wstring keyPath = platform::widen(location.substr(prefix.size()));
    auto rawValue = [&](REGSAM view, std::wstring *data) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, &key) !=
            ERROR_SUCCESS)
            return false;
        wchar_t buffer[512] = {};
        DWORD bytes = sizeof buffer - sizeof(wchar_t);
        DWORD type = 0;
        const bool found =
            RegQueryValueExW(key, platform::widen(name).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE *>(buffer), &bytes) == ERROR_SUCCESS &&
            type == REG_SZ;
        RegCloseKey(key);
        *data = buffer;
        return found;
    };

    CHECK(platform::autoStartProgram(name).empty());
    CHECK(platform::setAutoStart(name, program, true));
    CHECK(platform::autoStartProgram(name) == program);
    std::wstring data;
    CHECK(rawValue(KEY_WOW64_64KEY, &data));
    CHECK(data == platform::widen(program));
    // Off keeps the value with empty data.
    CHECK(platform::setAutoStart(name, program, false));
    CHECK(platform::autoStartProgram(name).empty());
    CHECK(rawValue(KEY_WOW64_64KEY, &data));
    CHECK(data.empty());

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, platform::widen(name).c_str());
        RegCloseKey(key);
    }
}

void findsAndKillsProcessesByImageName()
{
    TempFolder folder;
    const std::wstring image = folder.path(L"lunmere_sleeper.exe");
    CHECK(CopyFileW(selfPath().c_str(), image.c_str(), FALSE));
    CHECK(!platform::isProcessRunning("lunmere_sleeper.exe"));
    Child first(image, L"sleep");
    Child second(image, L"sleep");
    CHECK(first.started() && second.started());
    CHECK(waitFor(
        [] { return platform::findProcessesByImageName("lunmere_sleeper.exe").size() == 2; },
        20000));
    const std::vector<long> pids = platform::findProcessesByImageName("lunmere_sleeper.exe");
    CHECK((pids[0] == long(first.pid()) && pids[1] == long(second.pid())) ||
          (pids[1] == long(first.pid()) && pids[0] == long(second.pid())));
    // The image name is compared as the task list filter is used: exactly.
    CHECK(platform::findProcessesByImageName("LUNMERE_SLEEPER.EXE").empty());
    CHECK(platform::findProcessesByImageName("lunmere_sleeper").empty());
    CHECK_EQ(platform::killProcessesByImageName("lunmere_sleeper.exe"), 2);
    CHECK(first.wait(10000) != -1);
    CHECK(second.wait(10000) != -1);
    CHECK(!platform::isProcessRunning("lunmere_sleeper.exe"));
    CHECK(platform::executableSuffix() == ".exe");
}

void inputFileReadsAtOffsetsAndRefusesFolders()
{
    TempFolder folder;
    const std::string data = noise(300000, 1);
    CHECK(writeWholeFile(folder.path(L"package.7z"), data));
    platform::InputFile input;
    CHECK_EQ(input.open(folder.utf8Path(L"package.7z")), 0);
    std::int64_t size = 0;
    CHECK_EQ(input.size(&size), 0);
    CHECK_EQ(size, static_cast<std::int64_t>(data.size()));
    std::string buffer(100000, '\0');
    std::uint32_t got = 0;
    CHECK_EQ(input.readAt(250000, &buffer[0], 100000, &got), 0);
    CHECK_EQ(got, 50000u);
    CHECK(buffer.compare(0, got, data, 250000, got) == 0);
    CHECK_EQ(input.readAt(17, &buffer[0], 10, &got), 0);
    CHECK(buffer.compare(0, 10, data, 17, 10) == 0);
    CHECK_EQ(input.readAt(size + 5, &buffer[0], 10, &got), 0);
    CHECK_EQ(got, 0u); // past the end is no error

    platform::InputFile other;
    CHECK_EQ(other.open(folder.utf8Path(L"absent.7z")), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(other.open(folder.utf8Path()), ERROR_DIRECTORY);
    CHECK(!other.isOpen());
}

// The updater puts each new launcher file in place with replaceEntry and clears leftovers with
// removeEntry; the launcher's files may be read-only (copied from a read-only medium).
void fileEntriesAreReplacedAndRemovedInPlace()
{
    struct Row
    {
        const char *name;
        bool targetExists;
        bool targetReadOnly;
    };
    const Row rows[] = {{"new name", false, false},
                        {"existing file", true, false},
                        {"existing read-only file", true, true}};
    for (const Row &row : rows) {
        std::printf("    row: %s\n", row.name);
        TempFolder folder;
        const std::wstring from = folder.path(L"launcher.exe.lunmere-new");
        const std::wstring to = folder.path(L"launcher.exe");
        CHECK(writeWholeFile(from, "new build"));
        if (row.targetExists)
            CHECK(writeWholeFile(to, "old build"));
        if (row.targetReadOnly)
            CHECK(SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_READONLY));
        CHECK(platform::entryKind(utf8(to)) ==
              (row.targetExists ? platform::EntryKind::File : platform::EntryKind::Missing));
        CHECK(platform::replaceEntry(utf8(from), utf8(to)));
        CHECK(readWholeFile(to) == "new build");
        CHECK(platform::entryKind(utf8(from)) == platform::EntryKind::Missing);
        CHECK(platform::syncFile(utf8(to)));

        if (row.targetReadOnly)
            CHECK(SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_READONLY));
        CHECK(platform::removeEntry(utf8(to)));
        CHECK(platform::entryKind(utf8(to)) == platform::EntryKind::Missing);
        CHECK(platform::removeEntry(utf8(to))); // nothing left is what was asked
        CHECK(folder.names().empty());
    }
    TempFolder folder;
    CHECK(platform::entryKind(folder.utf8Path()) == platform::EntryKind::Directory);
    CHECK(!platform::syncFile(folder.utf8Path(L"absent.bin")));
    // A folder is not a file: it is neither replaced nor removed as one.
    CHECK(writeWholeFile(folder.path(L"from.bin"), "data"));
    CHECK(CreateDirectoryW(folder.path(L"sub").c_str(), nullptr));
    CHECK(!platform::replaceEntry(folder.utf8Path(L"from.bin"), folder.utf8Path(L"sub")));
    CHECK(!platform::removeEntry(folder.utf8Path(L"sub")));
    CHECK(platform::entryKind(folder.utf8Path(L"sub")) == platform::EntryKind::Directory);
}

void outputFileTakesItsNameOnlyWhenComplete()
{
    TempFolder folder;
    const std::wstring target = folder.path(L"data.bin");
    CHECK(writeWholeFile(target, "previous"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);

    platform::OutputFile output;
    CHECK_EQ(output.create(utf8(target)), 0);
    const std::string data = noise(200000, 2);
    std::uint32_t written = 0;
    CHECK_EQ(output.write(data.data(), static_cast<std::uint32_t>(data.size()), &written), 0);
    CHECK_EQ(written, static_cast<std::uint32_t>(data.size()));
    std::uint64_t position = 0;
    CHECK_EQ(output.seek(-100, 2, &position), 0);
    CHECK_EQ(position, data.size() - 100);
    CHECK_EQ(output.setSize(1000), 0);
    CHECK_EQ(output.seek(0, 1, &position), 0);
    CHECK_EQ(position, data.size() - 100); // SetSize moves back where it was
    CHECK_EQ(output.seek(0, 2, &position), 0);
    CHECK_EQ(position, 1000u);
    CHECK(readWholeFile(target) == "previous");

    // 2001-09-09 01:46:40 UTC.
    const platform::FileTime time = (1000000000ULL + 11644473600ULL) * 10000000ULL + 1234500;
    CHECK_EQ(output.setModificationTime(time), 0);
    // A POSIX mode in the high half leaves the low bits: archive + hidden + read-only.
    output.setAttributes(0x81A40000u | 0x8000u | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                         FILE_ATTRIBUTE_READONLY);
    platform::OutputFile::Step step = platform::OutputFile::Step::Write;
    CHECK_EQ(output.commit(&step), 0);
    CHECK(readWholeFile(target) == data.substr(0, 1000));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    CHECK_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
             DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    WIN32_FILE_ATTRIBUTE_DATA info;
    CHECK(GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &info));
    CHECK_EQ((std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                 info.ftLastWriteTime.dwLowDateTime,
             time);
    CHECK(folder.names().size() == 1);
    CHECK(output.write("x", 1, &written) != 0);
}

void failedOrDiscardedOutputLeavesNothing()
{
    TempFolder folder;
    const std::wstring target = folder.path(L"keep.txt");
    CHECK(writeWholeFile(target, "previous"));
    {
        platform::OutputFile output;
        CHECK_EQ(output.create(utf8(target)), 0);
        std::uint32_t written = 0;
        CHECK_EQ(output.write("partial", 7, &written), 0);
        output.discard();
    }
    {
        platform::OutputFile abandoned;
        CHECK_EQ(abandoned.create(utf8(target)), 0);
    }
    // A folder in the destination's place: the data was complete, the name could not be
    // taken.
    CHECK(CreateDirectoryW(folder.path(L"in-the-way").c_str(), nullptr));
    CHECK(writeWholeFile(folder.path(L"in-the-way\\child.txt"), "child"));
    platform::OutputFile blocked;
    CHECK_EQ(blocked.create(folder.utf8Path(L"in-the-way")), 0);
    platform::OutputFile::Step step = platform::OutputFile::Step::Write;
    CHECK(blocked.commit(&step) != 0);
    CHECK(step == platform::OutputFile::Step::Place);
    CHECK(platform::removeFolderInTheWay(folder.utf8Path(L"in-the-way")) != 0);
    CHECK(readWholeFile(folder.path(L"in-the-way\\child.txt")) == "child");

    CHECK(CreateDirectoryW(folder.path(L"empty").c_str(), nullptr));
    CHECK_EQ(platform::removeFolderInTheWay(folder.utf8Path(L"empty")), 0);
    CHECK_EQ(GetFileAttributesW(folder.path(L"empty").c_str()), INVALID_FILE_ATTRIBUTES);

    platform::OutputFile nowhere;
    CHECK_EQ(nowhere.create(folder.utf8Path(L"missing\\x.txt")), ERROR_PATH_NOT_FOUND);
    CHECK(readWholeFile(target) == "previous");
    const std::vector<std::wstring> left = folder.names();
    CHECK_EQ(left.size(), 2u); // keep.txt and in-the-way
}

void killedWriterLeavesNothingAndStalePartialsAreSwept()
{
    TempFolder folder;
    Child writer(selfPath(), L"write-and-die \"" + folder.path(L"big.bin") + L"\"");
    CHECK(writer.started());
    CHECK_EQ(writer.wait(30000), 9);
    CHECK(folder.names().empty()); // the file was marked for deletion until its commit

    // A partial file of a process that is gone, and one of a live process.
    Child sleeper(selfPath(), L"sleep");
    Child gone(selfPath(), L"exit");
    CHECK(gone.wait(30000) == 0);
    const std::wstring stale = L".lunmere-" + std::to_wstring(gone.pid()) + L"-3.part";
    const std::wstring live = L".lunmere-" + std::to_wstring(sleeper.pid()) + L"-4.part";
    CHECK(writeWholeFile(folder.path(stale), "stale"));
    CHECK(writeWholeFile(folder.path(live), "live"));
    platform::removeStalePartialFiles(folder.utf8Path());
    const std::vector<std::wstring> left = folder.names(L".lunmere-*");
    CHECK_EQ(left.size(), 1u);
    CHECK(left.front() == live);
}

// ---- child roles ----

int runRole(const std::string &role, const std::string &argument)
{
    if (role == "hold-mutex") {
        platform::NamedMutex mutex(argument);
        if (!mutex.isHeld())
            return 1;
        Sleep(60000);
        return 0;
    }
    if (role == "query-mutex")
        return platform::namedMutexExists(argument) ? kMutexExists : kMutexAbsent;
    if (role == "crash") {
        platform::installCrashHandler();
        volatile int *null = nullptr;
        *null = 42;
        return 0;
    }
    if (role == "sleep") {
        Sleep(60000);
        return 0;
    }
    if (role == "exit")
        return 0;
    if (role == "write-and-die") {
        platform::OutputFile output;
        if (output.create(argument) != 0)
            return 1;
        const std::string data = noise(1 << 20, 3);
        std::uint32_t written = 0;
        output.write(data.data(), static_cast<std::uint32_t>(data.size()), &written);
        TerminateProcess(GetCurrentProcess(), 9);
    }
    return 2;
}

struct Case
{
    const char *name;
    void (*run)();
};

const Case kCases[] = {
    {"namedMutexIsSeenWhileItsOwnerLives", namedMutexIsSeenWhileItsOwnerLives},
    {"crashWritesANamedMiniDumpAndStillDies", crashWritesANamedMiniDumpAndStillDies},
    {"uiLanguageFollowsTheLocale", uiLanguageFollowsTheLocale},
    {"diskSpaceOfADriveAndOfNoVolume", diskSpaceOfADriveAndOfNoVolume},
    {"physicalMemoryIsReported", physicalMemoryIsReported},
    {"registryValuesInThe64BitView", registryValuesInThe64BitView},
    {"findsAndKillsProcessesByImageName", findsAndKillsProcessesByImageName},
    {"inputFileReadsAtOffsetsAndRefusesFolders", inputFileReadsAtOffsetsAndRefusesFolders},
    {"fileEntriesAreReplacedAndRemovedInPlace", fileEntriesAreReplacedAndRemovedInPlace},
    {"outputFileTakesItsNameOnlyWhenComplete", outputFileTakesItsNameOnlyWhenComplete},
    {"failedOrDiscardedOutputLeavesNothing", failedOrDiscardedOutputLeavesNothing},
    {"killedWriterLeavesNothingAndStalePartialsAreSwept",
     killedWriterLeavesNothingAndStalePartialsAreSwept},
};

} // namespace

int wmain(int argc, wchar_t **argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf8(argv[i]));
    const char *const roles[] = {"hold-mutex", "query-mutex", "crash",
                                 "sleep",      "exit",        "write-and-die"};
    if (!arguments.empty() &&
        std::find(std::begin(roles), std::end(roles), arguments[0]) != std::end(roles))
        return runRole(arguments[0], arguments.size() > 1 ? arguments[1] : std::string());

    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const Case &test : kCases) {
        if (!arguments.empty() &&
            std::find(arguments.begin(), arguments.end(), test.name) == arguments.end())
            continue;
        std::printf("%s\n", test.name);
        try {
            test.run();
            std::printf("PASS   %s\n", test.name);
            ++passed;
        } catch (const Failed &) {
            std::printf("FAIL!  %s\n", test.name);
            ++failed;
        } catch (const Skipped &skip) {
            std::printf("SKIP   %s: %s\n", test.name, skip.reason.c_str());
            ++skipped;
        }
    }
    std::printf("Totals: %d passed, %d failed, %d skipped\n", passed, failed, skipped);
    return failed == 0 && passed + skipped > 0 ? 0 : 1;
}
