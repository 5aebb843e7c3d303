// Every number the program's logic relies on, named once. No windows.h here:
// the pure decision files include this header on the host build too.
#pragma once

#include <stdint.h>

// Timers of the TriggerWindow.
const unsigned TIMER_POLL = 1;
const unsigned TIMER_ICON_REMOVAL = 2;
const unsigned TIMER_DELAY = 3;
const unsigned TIMER_HIGHLIGHT = 4;
const unsigned TIMER_ICON_RETRY = 5;
// Of each strip's window: the look, a moment after a raise, whether the
// taskbar really is in front at its edge.
const unsigned TIMER_VERIFY = 6;
const unsigned VERIFY_DELAY_MS = 150;
// Raises of one approach of the pointer: the first and two more after a
// window came back over the edge; then that window is left be.
const unsigned RAISES_PER_APPROACH = 3;
// Timer of the About dialog.
const unsigned TIMER_REFRESH = 1;

const unsigned POLL_PERIOD_MS = 1000;
// How much later the system may fire the poll to wake us with other work:
// a release then still comes within 1.05 s of the pointer leaving.
const unsigned POLL_TOLERANCE_MS = 50;
// While nothing announces a change, the shell is still asked at least once
// in this many polls.
const uint32_t SHELL_ASK_SAFETY_TICKS = 30;
// The taskbar windows are looked for at this many polls from a change on:
// the shell may make them a moment after it announced the change.
const uint32_t TASKBAR_SEARCH_POLLS = 5;
const unsigned ICON_REMOVAL_PERIOD_MS = 120000;
// A shell that is not up yet refuses the icon: it is offered again this
// often, this many times (two minutes), and whenever the shell announces
// its taskbar.
const unsigned ICON_RETRY_PERIOD_MS = 2000;
const uint32_t ICON_RETRIES = 60;
const unsigned HIGHLIGHT_PERIOD_MS = 500;
const unsigned REFRESH_PERIOD_MS = 1000;

// Private messages. 1025 and 1026 are WM_USER + 1 and WM_USER + 2; 51677 is a
// fixed number that other programs send to make us re-add the icon.
const unsigned WM_TRAY_NOTIFY = 1025;
const unsigned WM_SECOND_INSTANCE = 1026;
const unsigned WM_READD_ICON = 51677;
// WM_APP + 1, sent by the configuration dialog to the main window with the
// shortcut chosen (wParam) before anything is stored: the main window takes
// it and answers 0, or answers nonzero (refused) and keeps the one it holds.
const unsigned WM_TAKE_HOT_KEY = 0x8001;
// WM_APP + 2, posted by the main window to itself once the click that opened
// a dialog is over: that dialog (wParam, the menu command that opens it)
// takes the foreground.
const unsigned WM_FOREGROUND_DIALOG = 0x8002;
// WM_APP + 3, sent by the configuration dialog to the main window once it
// has applied the settings: what depends on them is looked at afresh.
const unsigned WM_SETTINGS_APPLIED = 0x8003;
// WM_APP + 4, posted to the main window when a call to the shell that it
// stopped waiting for has ended: its answer is taken then.
const unsigned WM_SHELL_CALL_LANDED = 0x8004;

// The registered message the shell broadcasts when the taskbar is (re)created.
#define TASKBAR_CREATED_MESSAGE_NAME "TaskbarCreated"

// GetAsyncKeyState's bit for a key (or mouse button) that is down now.
const unsigned KEY_HELD_BIT = 0x8000;

// Trigger geometry.
const int32_t STRIP_DEPTH = 4;       // pixels of the taskbar's outer side covered by the strip
const int32_t RELEASE_MARGIN = 5;    // the taskbar rectangle is grown by this much for the release test
const int32_t CORNER_SLACK = 10;     // rule A/B: a taskbar corner at most 9 pixels off screen
const uint32_t BASE_DPI = 96;        // the strip and the margin are measured at this scale
const uint32_t EDGE_UNREPORTED = 0xFFFFFFFFu;  // uEdge preset: the shell did not report an edge

// Taskbars on other monitors than the primary one, each with a strip of its
// own; more are left without one.
const unsigned MAX_SECONDARY_STRIPS = 15;
#define SECONDARY_TASKBAR_CLASS_NAME "Shell_SecondaryTrayWnd"
// The strip of a secondary taskbar: a topmost, transparent tool window like
// the TriggerWindow that is never activated, without accepting files.
const unsigned SECONDARY_STRIP_EX_STYLE = 0x080001A8;

// The processes in which the shell shows Start, search, the flyouts of the
// notification area, quick settings, the touch keyboard and emoji panel and
// the widgets, apart from the taskbar's own: what they show counts as shown
// from the taskbar. Compared by file name, without regard to case.
const wchar_t* const SHELL_HOST_IMAGES[] = {
    L"StartMenuExperienceHost.exe",  // Start (Windows 10 1903 and later, 11)
    L"SearchHost.exe",               // search (Windows 11)
    L"SearchApp.exe",                // search (Windows 10 from 2020)
    L"SearchUI.exe",                 // search and Cortana (Windows 10 before 2020)
    L"ShellExperienceHost.exe",      // the notification area's flyouts, the calendar, the action center
    L"ShellHost.exe",                // quick settings (Windows 11 24H2)
    L"TextInputHost.exe",            // the touch keyboard and the emoji panel
    L"Widgets.exe",                  // the widgets board
    L"WidgetBoard.exe",
};
const unsigned SHELL_HOST_IMAGE_COUNT = sizeof(SHELL_HOST_IMAGES) / sizeof(SHELL_HOST_IMAGES[0]);
// The process that frames the windows of the Store's apps: the program
// behind such a window is the one of its child window from another process.
#define APPLICATION_FRAME_HOST_IMAGE L"ApplicationFrameHost.exe"

// Characters kept of a program's file name (with its NUL) for the tooltip
// and the report; a longer name is cut.
const unsigned PROGRAM_NAME_CAPACITY = 64;

// Characters of a process's image path read to tell its file name (a
// shell's flyout, a listed program in front); a longer path reads as unknown.
const unsigned IMAGE_PATH_CAPACITY = 1024;

// A strip lifted this many times in a row over the same window, which put
// itself back over it each time, waits this long before it tries again.
const uint32_t LIFTS_BEFORE_BACK_OFF = 2;
const uint32_t LIFT_BACK_OFF_MS = 30000;

// A look down the z-order stops after this many windows, should the order
// change under it without end.
const unsigned ZORDER_LOOK_LIMIT = 4096;
// DwmGetWindowAttribute's DWMWA_CLOAKED (Windows 8 and later): nonzero while
// the compositor keeps a shown window off the screen.
const unsigned WINDOW_ATTRIBUTE_CLOAKED = 14;

// Screen edges as the shell numbers them.
const uint32_t EDGE_LEFT = 0;
const uint32_t EDGE_TOP = 1;
const uint32_t EDGE_RIGHT = 2;
const uint32_t EDGE_BOTTOM = 3;

// A hit test forwarded to the shell's taskbar waits at most this long, so a
// hung shell cannot freeze the trigger.
const unsigned FORWARD_HIT_TEST_TIMEOUT_MS = 500;
// How long the message thread waits for a call to the shell (where the
// taskbar lies, the icon) before it goes on without the answer; a message
// that the shell sends meanwhile starts the wait again, this many times at most.
const unsigned SHELL_CALL_WAIT_MS = 300;
const int SHELL_CALL_WAITS = 4;

// The shortcut that shows the taskbar, under one of two ids of the main
// window: a new combination is registered under the free one before the old
// one is let go, so that a refused change leaves the old one working.
const int HOT_KEY_SHOW_TASKBAR = 1;
const int HOT_KEY_SHOW_TASKBAR_NEXT = 2;
// A stored shortcut is what the hot-key control gives: the virtual key in the
// low byte, its HOTKEYF_ flags in the high byte; 0 is none.
const uint32_t HOT_KEY_STORED_MAX = 0xFFFF;
const uint32_t HOT_KEY_FLAG_SHIFT = 0x01;    // HOTKEYF_SHIFT
const uint32_t HOT_KEY_FLAG_CONTROL = 0x02;  // HOTKEYF_CONTROL
const uint32_t HOT_KEY_FLAG_ALT = 0x04;      // HOTKEYF_ALT
const uint32_t HOT_KEY_FLAG_EXT = 0x08;      // HOTKEYF_EXT: an extended key (the grey block), not a modifier
// The modifiers RegisterHotKey takes.
const uint32_t HOT_KEY_MOD_ALT = 0x01;      // MOD_ALT
const uint32_t HOT_KEY_MOD_CONTROL = 0x02;  // MOD_CONTROL
const uint32_t HOT_KEY_MOD_SHIFT = 0x04;    // MOD_SHIFT
const uint32_t HOT_KEY_MOD_NOREPEAT = 0x4000;  // MOD_NOREPEAT: keys held down raise once

// Starting at sign-in: a value of the current user's Run key holding the
// program's path in quotes, and the entry beside it that says whether the
// user switched that start off.
#define RUN_KEY_PATH L"Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define STARTUP_APPROVED_KEY_PATH L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"
// The longest path the system gives a program, 32767 characters in its long
// form, and its NUL: every path is taken whole, never cut.
const unsigned PROGRAM_PATH_CAPACITY = 32768;
// The quoted path and its NUL; a longer value is read as naming something
// else.
const unsigned RUN_VALUE_CAPACITY = PROGRAM_PATH_CAPACITY + 2;
// The entry is 12 bytes; more are read, and ignored after the first.
const unsigned STARTUP_ENTRY_CAPACITY = 64;

// The programs in front of which the strips keep out of the way: a stored
// list, or one typed in the dialog, of at most this many characters.
const unsigned NEVER_OVER_MAX_CHARS = 1024;
// The system's answers on the user's state (QUERY_USER_NOTIFICATION_STATE)
// that keep the strips away from a full-screen window in front.
const uint32_t NOTIFICATION_STATE_D3D_FULL_SCREEN = 3;  // QUNS_RUNNING_D3D_FULL_SCREEN
const uint32_t NOTIFICATION_STATE_PRESENTATION = 4;     // QUNS_PRESENTATION_MODE

// Settings limits.
const uint32_t DELAY_MS_DEFAULT = 200;
const uint32_t DELAY_MS_MIN_STORED = 1;
const uint32_t DELAY_MS_MAX = 2000;

// Text buffers: 256 bytes, 255 passed to LoadStringA (254 characters and a NUL).
const int TEXT_BUFFER_SIZE = 256;
const int TEXT_LOAD_SIZE = 255;
const unsigned REGISTRY_VALUE_CAPACITY = 255;
// The icon's tooltip: the record's newer form holds 127 characters and a NUL.
const int TOOLTIP_MAX_CHARS = 127;
const int WSPRINTF_MAX_OUTPUT = 1024;  // wsprintfA never writes more characters than this, plus a NUL

// The extended style of the TriggerWindow: palette window (window edge, tool
// window, topmost) with transparent and accept-files, and never activated
// (WS_EX_NOACTIVATE), so that a click on it leaves the foreground where it is.
const unsigned TRIGGER_EX_STYLE = 0x080001B8;
// The bits of it that change with the strip's look (WS_EX_TRANSPARENT,
// WS_EX_LAYERED), and the opacity of a layered strip, hidden and shown.
const uint32_t EX_STYLE_TRANSPARENT = 0x20;
const uint32_t EX_STYLE_LAYERED = 0x80000;
const uint8_t STRIP_ALPHA_HIDDEN = 1;
const uint8_t STRIP_ALPHA_SHOWN = 255;

// Statistics.
const int32_t TICKS_PER_SECOND = 10000000;
const uint32_t STATS_UNIT_COUNT = 4;
const uint32_t STATS_UNIT_DEFAULT = 2;  // hour
const double RATE_WHOLE_THRESHOLD = 10.0;
const double RATE_WHOLE_LIMIT = 2147483648.0;  // 2^31: the first rate the label's signed 32-bit integer cannot hold
// Seconds in one unit of the unit list, indexed by statsUnit: second, minute, hour, day.
const int32_t UNIT_SECONDS[STATS_UNIT_COUNT] = {1, 60, 3600, 86400};

// Link buttons.
const unsigned LINK_HOVER_COLOR = 0x00FF0000;  // COLORREF pure blue
const int LINK_WIDTH_PAD = 3;

// A start that finds another copy holding the session's mutex waits this
// long for that copy's window, looking again at each step.
const unsigned SESSION_WAIT_MS = 5000;
const unsigned SESSION_WAIT_STEP_MS = 100;

// Exit codes.
const int EXIT_ALREADY_RUNNING = 1;
const int EXIT_STARTUP_FAILED = 0;
const int EXIT_REPORT_WRITTEN = 0;
const int EXIT_REPORT_FAILED = 2;

// The report of `pendrel.exe /report [FILE]`. A start with that command
// line asks the running copy for it with WM_COPYDATA under this tag, the
// data being the file's path and its NUL, and waits this long for the answer.
const uint32_t REPORT_REQUEST_TAG = 0x50445252;  // a number of its own, no system message data
const unsigned REPORT_WAIT_MS = 5000;
// A path of at most this many characters, so that the plain file functions
// take it (MAX_PATH with its NUL).
const unsigned REPORT_PATH_MAX_CHARS = 259;
// The report's bytes: what sixteen taskbars with all their lines take.
const unsigned REPORT_CAPACITY = 65536;
// Class and program names, and stored texts, are cut to these many
// characters; a strip lists this many of the windows over it.
const unsigned REPORT_NAME_MAX_CHARS = PROGRAM_NAME_CAPACITY - 1;
const unsigned REPORT_TEXT_MAX_CHARS = 127;
const unsigned REPORT_COVERS_MAX = 8;
const unsigned REPORT_MONITORS_MAX = 16;
// SHAppBarMessage's ABM_GETAUTOHIDEBAREX (Windows 8 and later): the
// auto-hide bar of one monitor's edge.
const unsigned APPBAR_GET_AUTOHIDE_BAR_EX = 0x0B;

// The small icon of a window or of the tray, in pixels on each side.
const int SMALL_ICON_SIZE = 16;
