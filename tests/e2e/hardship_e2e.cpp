#include "e2e/hardship.h"

#include <aclapi.h>
#include <shellapi.h>

#include <stdio.h>

#include <algorithm>

#include "support/wine_shell_records.h"

namespace e2e {

const char* const ALL_VALUE_NAMES[8] = {
    PENDREL_REG_DELAY_ENABLED, PENDREL_REG_DELAY_MS, PENDREL_REG_RESTART_ON_MOVE, PENDREL_REG_OVER_TOPMOST,
    PENDREL_REG_SEND_BACK,     PENDREL_REG_SHOW_ICON, PENDREL_REG_REMOVE_ICON,    PENDREL_REG_HIGHLIGHT};

namespace {

std::wstring settingsKeyW() {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, PENDREL_REGISTRY_KEY, -1, wide, MAX_PATH);
    return wide;
}

// --- Registry -------------------------------------------------------------------

bool setKeyDacl(HKEY key, PACL dacl) {
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION))
        return false;
    // A null DACL gives everyone full access.
    if (!SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE))
        return false;
    return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

BOOL CALLBACK countTitled(HWND window, LPARAM param) {
    std::pair<std::pair<DWORD, const char*>, int>* query =
        reinterpret_cast<std::pair<std::pair<DWORD, const char*>, int>*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query->first.first && IsWindowVisible(window) && windowText(window) == query->first.second)
        query->second++;
    return TRUE;
}

bool checked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// --- The stand-in shell --------------------------------------------------------------

const char RESPONDER_CLASS[] = "WineAppBar";
const char CONTROL_CLASS[] = "PendrelStandInShell";
// Handled by the control window, on the taskbar's thread.
const UINT SHOW_TASKBAR = WM_APP + 1;
const UINT REMOVE_TASKBAR = WM_APP + 2;
const UINT REPLACE_TASKBAR = WM_APP + 3;
const UINT HANG = WM_APP + 4;
// A hang the scenario forgot to end ends by itself.
const DWORD HANG_BOUND_MS = 60000;

LRESULT CALLBACK fakeShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeShell* shell = reinterpret_cast<FakeShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (shell == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return shell->onMessage(window, message, wParam, lParam);
}

HWND realTaskbarBesides(HWND own) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, TASKBAR_CLASS, nullptr)) != nullptr)
        if (found != own)
            return found;
    return nullptr;
}

}  // namespace

// --- Registry -------------------------------------------------------------------------

KeySnapshot snapshotSettingsKey() {
    KeySnapshot snapshot;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyW().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return snapshot;
    snapshot.exists = true;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData,
                     nullptr, &snapshot.lastWrite);
    for (DWORD i = 0; i < count; ++i) {
        std::vector<wchar_t> name(longestName + 1);
        std::vector<BYTE> data(longestData + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        StoredValue value;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type, data.data(), &dataLength) !=
            ERROR_SUCCESS)
            continue;
        value.name.assign(name.data(), nameLength);
        value.data.assign(data.begin(), data.begin() + dataLength);
        snapshot.values.push_back(value);
    }
    RegCloseKey(key);
    return snapshot;
}

bool sameSnapshot(const KeySnapshot& a, const KeySnapshot& b) {
    if (a.exists != b.exists || a.values.size() != b.values.size())
        return false;
    if (a.lastWrite.dwLowDateTime != b.lastWrite.dwLowDateTime ||
        a.lastWrite.dwHighDateTime != b.lastWrite.dwHighDateTime)
        return false;
    for (size_t i = 0; i < a.values.size(); ++i)
        if (a.values[i].name != b.values[i].name || a.values[i].type != b.values[i].type ||
            a.values[i].data != b.values[i].data)
            return false;
    return true;
}

std::string describe(const KeySnapshot& snapshot) {
    if (!snapshot.exists)
        return "(no key)";
    char text[64];
    snprintf(text, sizeof(text), "written %08lx%08lx:", snapshot.lastWrite.dwHighDateTime,
             snapshot.lastWrite.dwLowDateTime);
    std::string out = text;
    for (const StoredValue& value : snapshot.values) {
        char name[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, value.name.c_str(), -1, name, MAX_PATH, nullptr, nullptr);
        snprintf(text, sizeof(text), " %s=type %lu, %u bytes;", name, value.type,
                 static_cast<unsigned>(value.data.size()));
        out += text;
    }
    return out;
}

bool restrictSettingsKeyToReading() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY, 0, WRITE_DAC | READ_CONTROL, &key) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    bool done = false;
    if (AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        BYTE aclBuffer[256];
        PACL acl = reinterpret_cast<PACL>(aclBuffer);
        done = InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION) &&
               AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone) && setKeyDacl(key, acl);
        FreeSid(everyone);
    }
    RegCloseKey(key);
    return done;
}

void unrestrictSettingsKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    setKeyDacl(key, nullptr);
    RegCloseKey(key);
}

// --- What the program shows -------------------------------------------------------------

HWND openConfigAndRead(const Pendrel& copy, ShownSettings* shown) {
    HWND dialog = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    // Shown means its initialisation has returned; the round trip makes sure.
    if (dialog == nullptr || !roundTripTo(dialog))
        return nullptr;
    shown->delayEnabled = checked(dialog, IDC_DELAY_ENABLED);
    char text[64] = {};
    SendMessageA(GetDlgItem(dialog, IDC_DELAY_VALUE), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    shown->delayText = text;
    shown->restartOnMove = checked(dialog, IDC_RESTART_ON_MOVE);
    shown->overTopmost = checked(dialog, IDC_OVER_TOPMOST);
    shown->sendBack = checked(dialog, IDC_SEND_BACK);
    shown->showIcon = checked(dialog, IDC_SHOW_ICON);
    shown->removeIcon = checked(dialog, IDC_REMOVE_ICON);
    shown->highlight = checked(dialog, IDC_HIGHLIGHT);
    return dialog;
}

bool messageBoxShown(DWORD pid) {
    return findVisibleWindow(pid, MESSAGE_BOX_CLASS, PENDREL_CAPTION) != nullptr;
}

int visibleWindowsTitled(DWORD pid, const char* title) {
    std::pair<std::pair<DWORD, const char*>, int> query(std::make_pair(pid, title), 0);
    EnumWindows(countTitled, reinterpret_cast<LPARAM>(&query));
    return query.second;
}

// --- Figures --------------------------------------------------------------------------------

ProcessFigures readFigures(const Pendrel& copy) {
    const Counts counts = countsOf(copy.process, copy.pid);
    ProcessFigures figures;
    figures.gdiObjects = counts.guiGdi != 0 ? static_cast<long>(counts.guiGdi) : counts.gdiTable;
    figures.userObjectsAreWindowsOnly = counts.guiUser == 0;
    figures.userObjects = counts.guiUser != 0 ? static_cast<long>(counts.guiUser) : counts.windows;
    figures.privateBytes = counts.privateBytes;
    figures.workingSet = counts.workingSetBytes;
    return figures;
}

std::string describe(const ProcessFigures& figures) {
    char text[200];
    snprintf(text, sizeof(text), "GDI objects %ld, %s %ld, private %lu KiB, working set %lu KiB", figures.gdiObjects,
             figures.userObjectsAreWindowsOnly ? "windows" : "USER objects", figures.userObjects,
             static_cast<unsigned long>(figures.privateBytes / 1024),
             static_cast<unsigned long>(figures.workingSet / 1024));
    return text;
}

// --- Notification area ------------------------------------------------------------------------

void broadcastTaskbarCreated() {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(TASKBAR_CREATED), 0, 0);
}

bool announceTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, EFFECT_BOUND_MS, &result) != 0;
}

// --- The stand-in shell -------------------------------------------------------------------------

HWND FakeShell::makeControl(void* param) {
    FakeShell* self = static_cast<FakeShell*>(param);
    registerClass(CONTROL_CLASS, fakeShellProc, FakeShell::COLOUR);
    registerClass(TASKBAR_CLASS, fakeShellProc, FakeShell::COLOUR);
    HWND control = CreateWindowExA(0, CONTROL_CLASS, CONTROL_CLASS, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (control != nullptr)
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return control;
}

HWND FakeShell::makeResponder(void* param) {
    FakeShell* self = static_cast<FakeShell*>(param);
    registerClass(RESPONDER_CLASS, fakeShellProc, FakeShell::COLOUR);
    HWND responder = CreateWindowExA(0, RESPONDER_CLASS, RESPONDER_CLASS, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    if (responder != nullptr)
        SetWindowLongPtrA(responder, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return responder;
}

bool FakeShell::start() {
    stop();
    InitializeCriticalSection(&lock_);
    lockMade_ = true;
    reporting_ = false;
    autoHideAnswer_ = nullptr;
    autoHideEdge_ = NO_EDGE;
    autoHideProbes_.clear();
    answered_ = 0;
    sentToBottom_ = 0;
    icons_.clear();
    hung_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    resume_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    control_ = taskbarThread_.start(makeControl, this);
    responder_ = answerThread_.start(makeResponder, this);
    return control_ != nullptr && responder_ != nullptr;
}

bool FakeShell::answersTaskbarRequests() {
    const long before = answered_;
    APPBARDATA request = {};
    request.cbSize = sizeof(APPBARDATA);
    SHAppBarMessage(ABM_GETTASKBARPOS, &request);
    return answered_ != before;
}

void FakeShell::reportNoTaskbar() {
    EnterCriticalSection(&lock_);
    reporting_ = false;
    LeaveCriticalSection(&lock_);
}

void FakeShell::reportTaskbar(const RECT& rect, UINT edge) {
    EnterCriticalSection(&lock_);
    reporting_ = true;
    rect_ = rect;
    edge_ = edge;
    LeaveCriticalSection(&lock_);
}

bool FakeShell::showTaskbar(const RECT& rect) {
    if (control_ == nullptr)
        return false;
    RECT wanted = rect;
    SendMessageA(control_, SHOW_TASKBAR, 0, reinterpret_cast<LPARAM>(&wanted));
    return taskbar_ != nullptr &&
           waitUntil([&] { return FindWindowA(TASKBAR_CLASS, nullptr) == taskbar_; }, EFFECT_BOUND_MS);
}

bool FakeShell::replaceTaskbar() {
    const HWND old = taskbar_;
    if (control_ == nullptr || old == nullptr)
        return false;
    SendMessageA(control_, REPLACE_TASKBAR, 0, 0);
    return taskbar_ != nullptr && taskbar_ != old && !IsWindow(old) && FindWindowA(TASKBAR_CLASS, nullptr) == taskbar_;
}

void FakeShell::removeTaskbar() {
    if (control_ != nullptr)
        SendMessageA(control_, REMOVE_TASKBAR, 0, 0);
}

bool FakeShell::hideShellTaskbar() {
    if (control_ == nullptr || hiddenShellTaskbar_ != nullptr)
        return false;
    hiddenShellTaskbar_ = realTaskbarBesides(taskbar_);
    // A child window is no top-level window, which is all a search for a
    // taskbar looks at. (Wine's search also finds message-only windows:
    // HWND_MESSAGE as the parent would not hide it.)
    return hiddenShellTaskbar_ != nullptr && SetParent(hiddenShellTaskbar_, control_) != nullptr &&
           realTaskbarBesides(taskbar_) == nullptr;
}

void FakeShell::restoreShellTaskbar() {
    if (hiddenShellTaskbar_ != nullptr)
        SetParent(hiddenShellTaskbar_, nullptr);
    hiddenShellTaskbar_ = nullptr;
}

bool FakeShell::hangTaskbar() {
    if (control_ == nullptr)
        return false;
    ResetEvent(resume_);
    ResetEvent(hung_);
    PostMessageA(control_, HANG, 0, 0);
    return WaitForSingleObject(hung_, EFFECT_BOUND_MS) == WAIT_OBJECT_0;
}

void FakeShell::resumeTaskbar() {
    if (resume_ != nullptr)
        SetEvent(resume_);
}

void FakeShell::answerAutoHideOn(UINT edge) {
    EnterCriticalSection(&lock_);
    autoHideEdge_ = edge;
    autoHideAnswer_ = taskbar_;
    LeaveCriticalSection(&lock_);
}

std::vector<UINT> FakeShell::takeAutoHideProbes() {
    std::vector<UINT> probes;
    EnterCriticalSection(&lock_);
    probes.swap(autoHideProbes_);
    LeaveCriticalSection(&lock_);
    return probes;
}

void FakeShell::stop() {
    // The desktop's taskbar must not go with the window it was put under, nor
    // the taskbar's thread stay hung while its windows are closed.
    restoreShellTaskbar();
    resumeTaskbar();
    answerThread_.stop();
    taskbarThread_.stop();
    if (lockMade_)
        DeleteCriticalSection(&lock_);
    lockMade_ = false;
    for (HANDLE* event : {&hung_, &resume_}) {
        if (*event != nullptr)
            CloseHandle(*event);
        *event = nullptr;
    }
    control_ = nullptr;
    responder_ = nullptr;
    taskbar_ = nullptr;
}

void FakeShell::answer(const COPYDATASTRUCT* data) {
    if (data->cbData != sizeof(AppBarRequest))
        return;
    AppBarRequest request;
    CopyMemory(&request, data->lpData, sizeof(request));
    AppBarAnswer reply = {};
    reply.fields = request.fields;
    EnterCriticalSection(&lock_);
    if (data->dwData == ABM_GETTASKBARPOS) {
        reply.result = reporting_ ? 1 : 0;
        reply.fields.rect = rect_;
        if (edge_ != NO_EDGE)
            reply.fields.edge = edge_;
        InterlockedIncrement(&answered_);
    } else if (data->dwData == ABM_GETAUTOHIDEBAR) {
        autoHideProbes_.push_back(request.fields.edge);
        if (request.fields.edge == autoHideEdge_)
            reply.result = reinterpret_cast<ULONG_PTR>(autoHideAnswer_);
    }
    LeaveCriticalSection(&lock_);
    // Every other request is answered with 0.
    HANDLE asker = OpenProcess(PROCESS_DUP_HANDLE, FALSE, request.answerProcess);
    if (asker == nullptr)
        return;
    HANDLE mapping = nullptr;
    if (DuplicateHandle(asker, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(request.answerMapping)),
                        GetCurrentProcess(), &mapping, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(reply));
        if (view != nullptr) {
            CopyMemory(view, &reply, sizeof(reply));
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    CloseHandle(asker);
}

LRESULT FakeShell::answerIcon(const COPYDATASTRUCT* data) {
    if (data->cbData < sizeof(NotifyIconFields))
        return FALSE;
    NotifyIconFields fields;
    CopyMemory(&fields, data->lpData, sizeof(fields));
    const std::pair<LONG, UINT> icon(fields.window, fields.id);
    std::vector<std::pair<LONG, UINT>>::iterator found = std::find(icons_.begin(), icons_.end(), icon);
    switch (data->dwData) {
    case NIM_ADD:
        if (found != icons_.end())
            return FALSE;
        icons_.push_back(icon);
        return TRUE;
    case NIM_DELETE:
        if (found == icons_.end())
            return FALSE;
        icons_.erase(found);
        return TRUE;
    default: return found != icons_.end();
    }
}

// Not topmost, like the shell's own; made last, so it lies in front of the
// real one, which is found after it.
HWND FakeShell::makeTaskbar(const RECT& r) {
    HWND made = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, TASKBAR_CLASS, "", WS_POPUP, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    if (made != nullptr) {
        SetWindowLongPtrA(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowPos(made, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    return made;
}

LRESULT FakeShell::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        if (window == taskbar_)
            return answerIcon(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        answer(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case SHOW_TASKBAR: {
        // One that only moves keeps its place, as a taskbar that the program
        // has raised must.
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        if (taskbar_ == nullptr)
            taskbar_ = makeTaskbar(*r);
        else
            SetWindowPos(taskbar_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOACTIVATE | SWP_NOZORDER);
        return 0;
    }
    case REPLACE_TASKBAR: {
        const HWND old = taskbar_;
        taskbar_ = makeTaskbar(windowRect(old));
        DestroyWindow(old);
        return 0;
    }
    case HANG:
        SetEvent(hung_);
        WaitForSingleObject(resume_, HANG_BOUND_MS);
        return 0;
    case REMOVE_TASKBAR:
        if (taskbar_ != nullptr)
            DestroyWindow(taskbar_);
        taskbar_ = nullptr;
        icons_.clear();
        return 0;
    case WM_WINDOWPOSCHANGING: {
        // The program sends a released taskbar to the bottom, which would put
        // the real one in front of ours, to be found first. Ours goes right
        // above the real one instead: behind every other window still.
        WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (window == taskbar_ && (pos->flags & SWP_NOZORDER) == 0 && pos->hwndInsertAfter == HWND_BOTTOM) {
            InterlockedIncrement(&sentToBottom_);
            // Right above the real one, or, when that one is the first window
            // behind the always-on-top ones, there.
            HWND real = realTaskbarBesides(taskbar_);
            HWND above = real != nullptr ? GetWindow(real, GW_HWNDPREV) : nullptr;
            if (above == nullptr || (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
                pos->hwndInsertAfter = HWND_NOTOPMOST;
            else if (above != window)
                pos->hwndInsertAfter = above;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_DESTROY:
        // The taskbar goes with the control window; each thread's loop ends
        // with the window it was started for.
        if (window == control_ && taskbar_ != nullptr)
            DestroyWindow(taskbar_);
        if (window == control_ || window == responder_)
            PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// --- Scenarios with a stand-in shell -------------------------------------------------------------

void StandInShellTest::TearDown() {
    shell_.stop();
    PendrelTest::TearDown();
}

bool StandInShellTest::standInShell() {
    if (screenWidth() != DESKTOP_WIDTH || screenHeight() != DESKTOP_HEIGHT)
        return false;
    return shell_.start() && shell_.answersTaskbarRequests();
}

bool StandInShellTest::liesOn(const Pendrel& copy, const RECT& strip) {
    return waitUntil([&] { return sameRect(windowRect(copy.window), strip); }, EFFECT_BOUND_MS);
}

}  // namespace e2e
