#include "dialog_driver.h"

#include <windows.h>
// after <windows.h>, which it needs
#include <oleacc.h>

#include <cstring>
#include <deque>

#include "framework/win32/message_parameters.h"
#include "framework/win32/wide_text.h"

namespace driver {
namespace {

HWND AsWindow(Window window) {
    return static_cast<HWND>(window);
}

std::string Narrow(const std::wstring& text) {
    return framework::win32::FromWide(text).value_or("?");
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::deque<std::function<void()>> pendingSteps;
int idleTicks = 0;
constexpr int kIdleTicksBeforeRescue = 200;

BOOL CALLBACK EndThreadDialog(HWND window, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") == 0) {
        EndDialog(window, -2);
    }
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!pendingSteps.empty()) {
        const std::function<void()> step = std::move(pendingSteps.front());
        pendingSteps.pop_front();
        step();
        return;
    }
    if (++idleTicks == kIdleTicksBeforeRescue) {
        KillTimer(nullptr, timer);
        EnumThreadWindows(GetCurrentThreadId(), &EndThreadDialog, 0);
    }
}

struct Search {
    std::wstring caption;
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = framework::win32::PointerFrom<Search*>(parameter);
    // Not necessarily visible yet: the dialog manager shows a dialog once its
    // queue first runs empty, and a timer tick may come before that.
    if (WindowText(window) == search->caption &&
        (search->controlId == 0 || GetDlgItem(window, search->controlId) != nullptr)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void RunSteps(std::vector<std::function<void()>> steps) {
    pendingSteps.assign(steps.begin(), steps.end());
    idleTicks = 0;
    SetTimer(nullptr, 0, 20, &Tick);
}

std::size_t StepsLeft() {
    return pendingSteps.size();
}

Window FindDialog(const std::string& caption, int controlId) {
    Search search{framework::win32::ToWide(caption), controlId, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(Window dialog, int id) {
    return Narrow(WindowText(GetDlgItem(AsWindow(dialog), id)));
}

void SetText(Window dialog, int id, const std::string& text) {
    SetDlgItemTextW(AsWindow(dialog), id, framework::win32::ToWide(text).c_str());
}

bool IsChecked(Window dialog, int id) {
    return IsDlgButtonChecked(AsWindow(dialog), id) == BST_CHECKED;
}

int FocusedControlId() {
    return GetDlgCtrlID(GetFocus());
}

Window ActiveWindow() {
    return GetActiveWindow();
}

std::string Caption(Window window) {
    return Narrow(WindowText(AsWindow(window)));
}

std::vector<int> TabOrder(Window dialog) {
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(AsWindow(dialog), nullptr, FALSE);
    for (HWND control = first; control != nullptr && order.size() < 32;) {
        order.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(AsWindow(dialog), control, FALSE);
        if (control == first) {
            break;
        }
    }
    return order;
}

void Click(Window dialog, int id) {
    PostMessageW(GetDlgItem(AsWindow(dialog), id), BM_CLICK, 0, 0);
}

void PressKey(Window target, unsigned virtualKey) {
    HWND focus = GetFocus();
    HWND receiver = focus != nullptr && IsChild(AsWindow(target), focus) ? focus : AsWindow(target);
    PostMessageW(receiver, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(receiver, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001U));
}

void PostSystemCommand(Window dialog, unsigned command) {
    PostMessageW(AsWindow(dialog), WM_SYSCOMMAND, command, 0);
}

std::vector<MenuEntry> SystemMenu(Window dialog) {
    std::vector<MenuEntry> entries;
    HMENU menu = GetSystemMenu(AsWindow(dialog), FALSE);
    for (int position = 0; menu != nullptr && position < GetMenuItemCount(menu); ++position) {
        wchar_t text[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item);
        entries.push_back({(item.fType & MFT_SEPARATOR) != 0, item.wID, Narrow(text)});
    }
    return entries;
}

void Select(Window dialog, int id, std::ptrdiff_t begin, std::ptrdiff_t end) {
    SendDlgItemMessageW(AsWindow(dialog), id, EM_SETSEL, static_cast<WPARAM>(begin), end);
}

std::pair<std::size_t, std::size_t> Selection(Window dialog, int id) {
    DWORD begin = 0;
    DWORD end = 0;
    SendDlgItemMessageW(AsWindow(dialog), id, EM_GETSEL, reinterpret_cast<WPARAM>(&begin),
                        reinterpret_cast<LPARAM>(&end));
    return {begin, end};
}

void ControlKey(Window dialog, int id, unsigned virtualKey) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendDlgItemMessageW(AsWindow(dialog), id, WM_KEYDOWN, virtualKey, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

void MouseDrag(Window dialog, int id, int fromX, int fromY, int toX, int toY) {
    HWND control = GetDlgItem(AsWindow(dialog), id);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, toY));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
}

std::u16string ClipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        text = static_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

int VerticalScrollPosition(Window dialog, int id) {
    return GetScrollPos(GetDlgItem(AsWindow(dialog), id), SB_VERT);
}

AccessibleFacts ReadAccessible(Window dialog, int id) {
    AccessibleFacts facts;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(GetDlgItem(AsWindow(dialog), id),
                                          static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return facts;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    VARIANT state{};
    BSTR name = nullptr;
    BSTR value = nullptr;
    facts.read = SUCCEEDED(accessible->get_accRole(self, &role)) &&
                 SUCCEEDED(accessible->get_accState(self, &state)) &&
                 SUCCEEDED(accessible->get_accName(self, &name)) &&
                 SUCCEEDED(accessible->get_accValue(self, &value));
    facts.role = role.vt == VT_I4 ? role.lVal : -1;
    facts.state = state.vt == VT_I4 ? state.lVal : -1;
    facts.name = Narrow(name != nullptr ? std::wstring(name, SysStringLen(name)) : L"");
    facts.value = Narrow(value != nullptr ? std::wstring(value, SysStringLen(value)) : L"");
    SysFreeString(name);
    SysFreeString(value);
    accessible->Release();
    return facts;
}

void Paste(Window dialog, int id, const std::string& text) {
    const std::wstring wide = framework::win32::ToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    HWND field = GetDlgItem(AsWindow(dialog), id);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, WM_PASTE, 0, 0);
}

long LineCount(Window dialog, int id) {
    return static_cast<long>(SendDlgItemMessageW(AsWindow(dialog), id, EM_GETLINECOUNT, 0, 0));
}

std::string Line(Window dialog, int id, int line) {
    std::wstring buffer(256, L'\0');
    buffer[0] = static_cast<wchar_t>(buffer.size());
    buffer.resize(static_cast<std::size_t>(
        SendDlgItemMessageW(AsWindow(dialog), id, EM_GETLINE, static_cast<WPARAM>(line),
                            reinterpret_cast<LPARAM>(buffer.data()))));
    return Narrow(buffer);
}

namespace {

HWINEVENTHOOK listening = nullptr;
std::vector<std::pair<HWND, unsigned>> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
    heard.emplace_back(window, event);
}

}  // namespace

void StartListening() {
    heard.clear();
    listening = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Hear, GetCurrentProcessId(), 0,
                                WINEVENT_OUTOFCONTEXT);
}

std::vector<unsigned> EventsHeard(Window dialog, int id) {
    std::vector<unsigned> events;
    for (const auto& [window, event] : heard) {
        if (window == GetDlgItem(AsWindow(dialog), id)) {
            events.push_back(event);
        }
    }
    return events;
}

std::vector<std::string> LiveRegionsHeard(Window dialog) {
    constexpr unsigned kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
    std::vector<std::string> names;
    for (const auto& [window, event] : heard) {
        if (event == kLiveRegionChanged && GetParent(window) == AsWindow(dialog)) {
            names.push_back(ReadAccessible(dialog, GetDlgCtrlID(window)).name);
        }
    }
    return names;
}

void StopListening() {
    UnhookWinEvent(listening);
    listening = nullptr;
}

std::array<int, 4> ControlPlace(Window dialog, int id) {
    RECT place{};
    GetWindowRect(GetDlgItem(AsWindow(dialog), id), &place);
    MapWindowPoints(nullptr, AsWindow(dialog), reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

std::pair<int, int> WindowSize(Window dialog) {
    RECT window{};
    GetWindowRect(AsWindow(dialog), &window);
    return {window.right - window.left, window.bottom - window.top};
}

void ResizeWindow(Window dialog, int width, int height) {
    SetWindowPos(AsWindow(dialog), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Minimize(Window dialog) {
    ShowWindow(AsWindow(dialog), SW_MINIMIZE);
}

bool IsMinimized(Window dialog) {
    return IsIconic(AsWindow(dialog)) != FALSE;
}

int DragIconWidth(Window dialog) {
    auto* icon = framework::win32::PointerFrom<HICON>(
        SendMessageW(AsWindow(dialog), WM_QUERYDRAGICON, 0, 0));
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

namespace {

int lastCommand = 0;

INT_PTR CALLBACK RecordCommands(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {  // not an edit's notices
        lastCommand = LOWORD(wParam);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A DLGTEMPLATE with its items, each DWORD-aligned, as the platform reads it.
std::vector<WORD> MadeUpTemplate(const std::vector<MadeUpControl>& controls) {
    std::vector<WORD> words;
    const auto put32 = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto putText = [&words](const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            words.push_back(static_cast<WORD>(*text));
        }
        words.push_back(0);
    };
    put32(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME);
    put32(0);
    words.push_back(static_cast<WORD>(controls.size()));
    for (const int value : {0, 0, 140, 100}) {  // x, y, width, height
        // cppcheck-suppress useStlAlgorithm ; four words in the template's order
        words.push_back(static_cast<WORD>(value));
    }
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    putText(L"Tasten");
    words.push_back(8);
    putText(L"MS Shell Dlg");
    for (const MadeUpControl& control : controls) {
        if (words.size() % 2 != 0) {
            words.push_back(0);
        }
        put32(control.style);
        put32(0);
        for (const int value : {control.x, control.y, control.width, control.height}) {
            // cppcheck-suppress useStlAlgorithm ; four words in the template's order
            words.push_back(static_cast<WORD>(value));
        }
        words.push_back(static_cast<WORD>(control.id));
        words.push_back(0xFFFF);
        words.push_back(control.kind == MadeUpControl::Kind::Button ? 0x0080
                        : control.kind == MadeUpControl::Kind::Edit ? 0x0081
                                                                    : 0x0082);
        putText(framework::win32::ToWide(control.caption).c_str());
        words.push_back(0);  // no creation data
    }
    return words;
}

}  // namespace

std::pair<int, int> KeyInMadeUpDialog(const std::vector<MadeUpControl>& controls, int focusedId,
                                      unsigned virtualKey, bool shift, bool alt) {
    const std::vector<WORD> form = MadeUpTemplate(controls);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(form.data()),
                                             nullptr, &RecordCommands, 0);
    if (dialog == nullptr) {
        return {-1, -1};
    }
    ShowWindow(dialog, SW_SHOW);
    if (focusedId != 0) {
        SetFocus(GetDlgItem(dialog, focusedId));
    }
    lastCommand = 0;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shiftBefore = keys[VK_SHIFT];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    // Alt with a letter reaches the dialog manager as WM_SYSCHAR, bit 29 set.
    const UINT kind = alt ? WM_SYSCHAR : WM_KEYDOWN;
    const LPARAM flags = alt ? 0x20000001 : 1;
    MSG message{GetFocus(), kind, virtualKey, flags, 0, {}};
    if (virtualKey != 0) {
        IsDialogMessageW(dialog, &message);
    }
    keys[VK_SHIFT] = shiftBefore;
    SetKeyboardState(keys);
    const int focused = GetDlgCtrlID(GetFocus());
    const int command = lastCommand;
    DestroyWindow(dialog);
    return {focused, command};
}

}  // namespace driver
