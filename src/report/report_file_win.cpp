#include "report/report.h"
#include "report/report_file.h"
#include "report/report_rules.h"
#include "report/report_sight.h"
#include "resources/constants.h"

namespace {

// Another request that comes while a report is being made (the shell's
// calls answer what other processes send meanwhile) is refused.
LONG reporting = 0;

// A device, a folder or a link is never written to; a file that cannot be
// looked at is not either.
bool newOrRegularFile(const WCHAR* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

}  // namespace

// The text is made before the file is opened: the file is held only while
// it is written.
bool writeReport(const WCHAR* path, size_t units, bool running) {
    if (!reportPathAllowed(path, units) || !newOrRegularFile(path))
        return false;
    char bytes[REPORT_CAPACITY];
    ReportText text = {bytes, sizeof bytes, 0};
    composeReport(text, running);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = GetFileType(file) == FILE_TYPE_DISK &&
                      WriteFile(file, bytes, static_cast<DWORD>(text.length), &written, nullptr) &&
                      written == text.length;
    CloseHandle(file);
    return done;
}

LRESULT answerReportRequest(const COPYDATASTRUCT* request) {
    const DWORD most = (REPORT_PATH_MAX_CHARS + 1) * sizeof(WCHAR);
    if (request == nullptr || request->dwData != REPORT_REQUEST_TAG || request->lpData == nullptr ||
        request->cbData > most || request->cbData % sizeof(WCHAR) != 0 || reporting)
        return FALSE;
    WCHAR path[REPORT_PATH_MAX_CHARS + 1];
    CopyMemory(path, request->lpData, request->cbData);
    reporting = 1;
    const bool written = writeReport(path, request->cbData / sizeof(WCHAR), true);
    reporting = 0;
    return written ? TRUE : FALSE;
}
