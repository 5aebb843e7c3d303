// What another process can count of a program's objects. GetGuiResources is
// the system's own answer; where it gives nothing (Wine answers 0), the GDI
// handle table that the system maps into each process, the windows the
// process owns, its kernel handles and its private memory show a leak too.
#include "outside/outside.h"

#include <psapi.h>
#include <winternl.h>

#include <stdio.h>

#include <vector>

namespace outside {

namespace {

// The GDI handle table: 65536 entries of this layout, found through the
// process's PEB. The same layout as the system's, with 64-bit fields.
struct GdiHandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;  // 0 for a free entry
    UCHAR flags;
    UINT64 userPointer;
};
const size_t GDI_TABLE_ENTRIES = 0x10000;
const int GDI_TYPE_COUNT = 256;
// Offset of GdiSharedHandleTable in the PEB.
const size_t PEB_GDI_TABLE_OFFSET = sizeof(void*) == 8 ? 0xF8 : 0x94;

// The kinds in the table's type field. A window DC comes with a region and a
// surface object, so a DC of the system's DC cache counts three.
const UCHAR GDI_TYPE_DC = 0x01;
const UCHAR GDI_TYPE_REGION = 0x04;
const UCHAR GDI_TYPE_SURFACE = 0x05;
const UCHAR GDI_TYPE_PALETTE = 0x08;
const UCHAR GDI_TYPE_BITMAP = 0x09;
const UCHAR GDI_TYPE_FONT = 0x0a;
const UCHAR GDI_TYPE_BRUSH_OR_PEN = 0x10;

const ULONG SYSTEM_HANDLE_INFORMATION_CLASS = 16;
const NTSTATUS STATUS_LENGTH_MISMATCH = static_cast<NTSTATUS>(0xC0000004L);
const size_t HANDLE_BUFFER_START = 1 << 16;
const size_t HANDLE_BUFFER_LIMIT = 64u << 20;

struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE handleFlags;
    USHORT handleValue;
    PVOID objectPointer;
    ULONG accessMask;
};
struct SystemHandleInformation {
    ULONG count;
    SystemHandleEntry handles[1];
};

typedef NTSTATUS(NTAPI* QueryProcessFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
typedef NTSTATUS(NTAPI* QuerySystemFn)(ULONG, PVOID, ULONG, PULONG);

// Through a generic function pointer type: a direct cast between unrelated
// function types draws a warning.
typedef void (*AnyFunction)();

template <typename Function>
Function ntdllProc(const char* name) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC proc = ntdll == nullptr ? nullptr : GetProcAddress(ntdll, name);
    return reinterpret_cast<Function>(reinterpret_cast<AnyFunction>(proc));
}

const char* gdiTypeName(int type) {
    switch (type) {
    case GDI_TYPE_DC: return "dc";
    case GDI_TYPE_REGION: return "region";
    case GDI_TYPE_SURFACE: return "surface";
    case GDI_TYPE_PALETTE: return "palette";
    case GDI_TYPE_BITMAP: return "bitmap";
    case GDI_TYPE_FONT: return "font";
    case GDI_TYPE_BRUSH_OR_PEN: return "brush/pen";
    default: return nullptr;
    }
}

// Fills the GDI figures of the counts from the process's handle table; false
// when the table cannot be read.
bool readGdiTable(HANDLE process, Counts* counts) {
    QueryProcessFn query = ntdllProc<QueryProcessFn>("NtQueryInformationProcess");
    if (query == nullptr)
        return false;
    PROCESS_BASIC_INFORMATION basic = {};
    if (query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        basic.PebBaseAddress == nullptr)
        return false;
    UINT_PTR table = 0;
    SIZE_T read = 0;
    const BYTE* slot = reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + PEB_GDI_TABLE_OFFSET;
    if (!ReadProcessMemory(process, slot, &table, sizeof(table), &read) || read != sizeof(table) || table == 0)
        return false;
    std::vector<GdiHandleEntry> entries(GDI_TABLE_ENTRIES);
    const SIZE_T bytes = entries.size() * sizeof(GdiHandleEntry);
    if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(table), entries.data(), bytes, &read) ||
        read != bytes)
        return false;

    long perType[GDI_TYPE_COUNT] = {};
    long used = 0;
    for (const GdiHandleEntry& entry : entries) {
        if (entry.type != 0) {
            ++used;
            ++perType[entry.type];
        }
    }
    counts->gdiTable = used;
    counts->gdiDcs = perType[GDI_TYPE_DC];
    counts->gdiBeyondDcs = used - perType[GDI_TYPE_DC] - perType[GDI_TYPE_REGION] - perType[GDI_TYPE_SURFACE];
    counts->gdiKinds.clear();
    for (int type = 1; type < GDI_TYPE_COUNT; ++type) {
        if (perType[type] == 0)
            continue;
        char name[16];
        const char* known = gdiTypeName(type);
        if (known != nullptr)
            snprintf(name, sizeof(name), "%s", known);
        else
            snprintf(name, sizeof(name), "type%02x", type);
        char part[48];
        snprintf(part, sizeof(part), "%s%s:%ld", counts->gdiKinds.empty() ? "" : ",", name, perType[type]);
        counts->gdiKinds += part;
    }
    return true;
}

long systemHandleCount(DWORD pid) {
    QuerySystemFn query = ntdllProc<QuerySystemFn>("NtQuerySystemInformation");
    if (query == nullptr)
        return -1;
    for (size_t size = HANDLE_BUFFER_START; size <= HANDLE_BUFFER_LIMIT; size *= 2) {
        std::vector<BYTE> buffer(size);
        ULONG needed = 0;
        NTSTATUS status = query(SYSTEM_HANDLE_INFORMATION_CLASS, buffer.data(), static_cast<ULONG>(size), &needed);
        if (status == STATUS_LENGTH_MISMATCH)
            continue;
        if (status != 0)
            return -1;
        const SystemHandleInformation* info = reinterpret_cast<const SystemHandleInformation*>(buffer.data());
        long owned = 0;
        for (ULONG i = 0; i < info->count; ++i)
            if (info->handles[i].ownerPid == pid)
                ++owned;
        return owned;
    }
    return -1;
}

struct WindowTally {
    DWORD pid;
    long count;
};

BOOL CALLBACK tallyChild(HWND window, LPARAM param) {
    WindowTally* tally = reinterpret_cast<WindowTally*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == tally->pid)
        ++tally->count;
    return TRUE;
}

BOOL CALLBACK tallyTopLevel(HWND window, LPARAM param) {
    tallyChild(window, param);
    EnumChildWindows(window, tallyChild, param);
    return TRUE;
}

long windowCount(DWORD pid) {
    WindowTally tally = {pid, 0};
    EnumWindows(tallyTopLevel, reinterpret_cast<LPARAM>(&tally));
    HWND messageOnly = nullptr;
    while ((messageOnly = FindWindowExA(HWND_MESSAGE, messageOnly, nullptr, nullptr)) != nullptr)
        tallyChild(messageOnly, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

}  // namespace

Counts countsOf(HANDLE process, DWORD pid) {
    Counts counts;
    counts.guiGdi = GetGuiResources(process, GR_GDIOBJECTS);
    counts.guiUser = GetGuiResources(process, GR_USEROBJECTS);
    readGdiTable(process, &counts);
    counts.windows = windowCount(pid);
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles != 0)
        counts.kernelHandles = static_cast<long>(handles);
    else
        counts.kernelHandles = systemHandleCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        // Wine fills only the older fields; its page-file figure is the
        // process's private memory.
        counts.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
        counts.workingSetBytes = memory.WorkingSetSize;
    }
    return counts;
}

}  // namespace outside
