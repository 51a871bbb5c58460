// The built wertomat.exe: its resources as the platform's loader reads them,
// and the program as a process under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/tabulation.h"
#include "framework/results_view/spreadsheet_table.h"
#include "framework/win32/message_parameters.h"
#include "framework/win32/wide_text.h"
#include "resources/resource.h"

namespace {

const std::wstring kVersion = framework::win32::ToWide(WERTOMAT_VERSION);
const std::wstring kProgram =
    framework::win32::ToWide(WERTOMAT_PROGRAM);  // Wine's view of the built program
constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(kProgram.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    // The bytes of one resource in one language; empty when there is none.
    std::string Bytes(LPCWSTR type, int name, WORD language) const {
        HRSRC found = FindResourceExW(module_, type, MAKEINTRESOURCEW(name), language);
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return {data, SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value =
            (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    }
    return value;
}

TEST_F(ProgramResources, VersionRecordHasEveryField) {
    const std::string record = Bytes(MAKEINTRESOURCEW(16), 1, kGerman);  // RT_VERSION
    ASSERT_FALSE(record.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    std::string copy = record;  // VerQueryValueW wants writable memory
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDU);
    EXPECT_EQ(fixed->dwStrucVersion, 0x00010000U);
    // The project's version, four numbers, two to a DWORD.
    unsigned parts[4] = {};
    ASSERT_EQ(
        std::sscanf(WERTOMAT_VERSION, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]),
        4);
    EXPECT_EQ(fixed->dwFileVersionMS, parts[0] << 16 | parts[1]);
    EXPECT_EQ(fixed->dwFileVersionLS, parts[2] << 16 | parts[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, parts[0] << 16 | parts[1]);
    EXPECT_EQ(fixed->dwProductVersionLS, parts[2] << 16 | parts[3]);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3FU);
    EXPECT_EQ(fixed->dwFileFlags, 0x01U);
    EXPECT_EQ(fixed->dwFileOS, 0x00040004U);
    EXPECT_EQ(fixed->dwFileType, 1U);
    EXPECT_EQ(fixed->dwFileSubtype, 0U);
    EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0U);

    const std::vector<std::pair<std::wstring, std::wstring>> strings = {
        {L"CompanyName", L""},
        {L"FileDescription", L"Wertomat"},
        {L"FileVersion", kVersion},
        {L"InternalName", L"Wertomat.exe"},
        {L"LegalCopyright", L"Copyright (C) 2026"},  // as the About box, no holder named
        {L"OriginalFilename", L"Wertomat.exe"},
        {L"ProductName", L""},
        {L"ProductVersion", kVersion}};
    const std::wstring whole(reinterpret_cast<const wchar_t*>(record.data()),
                             record.size() / sizeof(wchar_t));
    std::size_t previous = 0;
    for (const auto& [key, expected] : strings) {
        SCOPED_TRACE(std::string(key.begin(), key.end()));
        wchar_t* value = nullptr;
        const std::wstring path = L"\\StringFileInfo\\040704B0\\" + key;
        ASSERT_TRUE(
            VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &length));
        if (!expected.empty()) {
            EXPECT_EQ(std::wstring(value), expected);
        } else {
            EXPECT_FALSE(std::wstring(value).empty());  // a placeholder
        }
        const std::size_t at = whole.find(key);
        EXPECT_GT(at, previous);  // the keys in their order
        previous = at;
    }
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4U);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(ProgramResources, ManifestIsTheCheckedInFileInUsEnglish) {
    std::ifstream file(WERTOMAT_MANIFEST, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Bytes(MAKEINTRESOURCEW(24), 1, kEnglishUs), expected);  // RT_MANIFEST
}

TEST_F(ProgramResources, IconGroupHoldsThirteenImagesInGerman) {
    const std::string group = Bytes(MAKEINTRESOURCEW(14), 128, kGerman);  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6U);
    ASSERT_EQ(Little(group, 4, 2), 13U);
    struct Image {
        std::uint32_t size, colours, bits;
    };
    const Image expected[] = {{48, 16, 4}, {32, 16, 4}, {24, 16, 4}, {16, 16, 4},  {48, 0, 8},
                              {32, 0, 8},  {24, 0, 8},  {16, 0, 8},  {256, 0, 32}, {48, 0, 32},
                              {32, 0, 32}, {24, 0, 32}, {16, 0, 32}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const std::size_t entry = 6 + 14 * i;
        const std::uint32_t width = Little(group, entry, 1);
        EXPECT_EQ(width == 0 ? 256U : width, expected[i].size);
        EXPECT_EQ(Little(group, entry + 2, 1), expected[i].colours);
        EXPECT_EQ(Little(group, entry + 4, 2), 1U);
        EXPECT_EQ(Little(group, entry + 6, 2), expected[i].bits);
        const auto id = static_cast<int>(Little(group, entry + 12, 2));
        EXPECT_EQ(id, static_cast<int>(i + 1));
        const std::string image = Bytes(MAKEINTRESOURCEW(3), id, kGerman);  // RT_ICON
        ASSERT_GE(image.size(), 8U);
        EXPECT_EQ(image.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0, expected[i].size == 256);
    }
}

TEST_F(ProgramResources, FormsAndStringsAreGerman) {
    EXPECT_FALSE(Bytes(MAKEINTRESOURCEW(5), 100, kGerman).empty());  // RT_DIALOG
    EXPECT_FALSE(Bytes(MAKEINTRESOURCEW(5), 102, kGerman).empty());
    EXPECT_FALSE(Bytes(MAKEINTRESOURCEW(6), 101 / 16 + 1, kGerman).empty());  // RT_STRING
}

struct ProgramWindow {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM parameter) {
    auto* search = framework::win32::PointerFrom<ProgramWindow*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    if (process == search->process && IsWindowVisible(window) &&
        std::wstring(caption) == L"Wertomat") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The built program as a process of its own, its dialog found.
class RunningProgram {
public:
    explicit RunningProgram(const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + kProgram + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(kProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &process_)) {
            return;
        }
        WaitForInputIdle(process_.hProcess, 20000);
        ProgramWindow search{process_.dwProcessId, nullptr};
        for (int attempt = 0; attempt < 200 && search.found == nullptr; ++attempt) {
            EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&search));
            Sleep(50);
        }
        dialog_ = search.found;
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 1);  // when a check failed before Close()
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }

    HWND Dialog() const { return dialog_; }

    // Closes the dialog as the close box does; the exit code, or nullopt
    // when the process did not end.
    std::optional<DWORD> Close() {
        PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD exitCode = 1;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        return exitCode;
    }

private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
};

// Started with arguments, it shows its dialog as usual and ends with it.
TEST(Program, StartsShowsTheDialogAndEndsWhenItCloses) {
    RunningProgram program(L"--hilfe /? datei.txt");
    ASSERT_NE(program.Dialog(), nullptr);
    wchar_t start[16] = {};
    GetDlgItemTextW(program.Dialog(), IDC_XA, start, 16);
    EXPECT_EQ(std::wstring(start), L"0");
    EXPECT_EQ(program.Close(), std::optional<DWORD>(0));
}

// "HTML Format" as another program reads it: empty when there is none.
std::string ClipboardTable() {
    static const UINT format = RegisterClipboardFormatW(L"HTML Format");
    std::string table;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) {
        Sleep(20);
    }
    if (HANDLE data = GetClipboardData(format); data != nullptr) {
        table = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return table;
}

std::size_t HeaderOffset(const std::string& clipboard, const std::string& key) {
    const std::size_t at = clipboard.find(key + ":");
    return at == std::string::npos ? 0 : std::stoul(clipboard.substr(at + key.size() + 1, 10));
}

// Computes polynomial 2 from -10 step 0,5 to 10 and copies the whole table.
void CopyTheTable(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_XA, L"-10");
    SetDlgItemTextW(dialog, IDC_XSW, L"0,5");
    SetDlgItemTextW(dialog, IDC_XE, L"10");
    SendDlgItemMessageW(dialog, IDC_FUNCTION_2, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, IDC_COMPUTE, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, IDC_RESULTS, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(dialog, IDC_RESULTS, WM_COPY, 0, 0);
}

// Another process reads the table flavour of a copy, made when it asks, and
// made as the program ends when nobody asked before; its header's offsets hold.
TEST(Program, CopiedTablesCarryTheHtmlFormatWhileRunningAndAfter) {
    std::string whileRunning;
    {
        RunningProgram program;
        ASSERT_NE(program.Dialog(), nullptr);
        CopyTheTable(program.Dialog());
        whileRunning = ClipboardTable();
        EXPECT_EQ(program.Close(), std::optional<DWORD>(0));
    }
    {
        RunningProgram program;
        ASSERT_NE(program.Dialog(), nullptr);
        CopyTheTable(program.Dialog());
        EXPECT_EQ(program.Close(), std::optional<DWORD>(0));
        EXPECT_EQ(ClipboardTable(), whileRunning) << "not made as the program ended";
    }

    wchar_t mark[4] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, mark, 4);
    const std::string table = wertomat::RunTabulation({-10, 0.5, 10, 2}).text;
    const auto expected = framework::SpreadsheetTable::Of(
        table, 0, table.size(), framework::SpreadsheetFormat::Html, mark[0] == L',' ? ',' : '.');
    ASSERT_TRUE(expected.has_value());
    std::string document(expected->Length(), '\0');
    expected->WriteTo(document.data());
    ASSERT_TRUE(whileRunning.starts_with("Version:0.9\r\n")) << whileRunning.substr(0, 200);
    EXPECT_EQ(whileRunning.substr(HeaderOffset(whileRunning, "StartHTML")), document);
    EXPECT_EQ(HeaderOffset(whileRunning, "EndHTML"), whileRunning.size());
    const std::size_t fragment = HeaderOffset(whileRunning, "StartFragment");
    EXPECT_EQ(whileRunning.substr(fragment, HeaderOffset(whileRunning, "EndFragment") - fragment),
              document.substr(expected->FragmentStart(),
                              expected->FragmentEnd() - expected->FragmentStart()));
}

}  // namespace
