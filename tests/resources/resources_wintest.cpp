// The program's resources as the linked executable carries them: every string
// byte for byte through LoadStringA, the icon groups and the cursor, the
// context menu, both dialog templates as written and as created, the version
// record and the application manifest.
#include <windows.h>
#include <commctrl.h>  // style names only: the library is loaded the program's way
#include <gtest/gtest.h>

#include <string.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "resources/program.h"
#include "resources/resource.h"
#include "support/dialog_template.h"

namespace {

const char DIALOG_CLASS[] = "Marrowick_APropos";

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.program.instance = GetModuleHandleA(nullptr);
    }
};

// Locks a resource of the test executable; null when it is missing.
const BYTE* resourceBytes(LPCSTR type, int id, DWORD* size) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return nullptr;
    *size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

// ---------------------------------------------------------------------------
// String table
// ---------------------------------------------------------------------------

struct StringCase {
    UINT id;
    const char* text;
};

const StringCase STRINGS[] = {
    {IDS_HOMEPAGE_TEXT, "http://lucien-garrow.example.org/"},
    {IDS_HOMEPAGE_URL, "http://lucien-garrow.example.org/"},
    {IDS_EMAIL_TEXT, "lucien.garrow@example.org"},
    {IDS_MAILTO_URL, "mailto:Lucien Garrow <lucien.garrow@example.org>?subject=Pendrel"},
    {IDS_CAPTION, "Pendrel"},
    {IDS_COUNTER_FORMAT, "You have activated %lu times the taskbar."},
    {IDS_TRIGGER_CLASS, "Marrowick"},
    {IDS_DIALOG_CLASS, "Marrowick_APropos"},
    {IDS_REGISTRY_KEY, "Software\\Oxbrindle\\Marrowick"},
    {IDS_REG_DELAY_ENABLED, "Temporiser"},
    {IDS_REG_DELAY_MS, "ValeurTempo"},
    {IDS_REG_RESTART_ON_MOVE, "RelanceTempo"},
    {IDS_REG_OVER_TOPMOST, "DevantToujoursVisibles"},
    {IDS_REG_SHOW_ICON, "VoirIcone"},
    {IDS_REG_REMOVE_ICON, "SupprimerIconeApresTempo"},
    {IDS_REG_SEND_BACK, "RetourArri\xE8rePlan"},
    {IDS_REG_HIGHLIGHT, "Surbrillance"},
    {IDS_REG_ALL_SCREENS, "TousLesEcrans"},
    {IDS_REG_HOT_KEY, "Raccourci"},
    {IDS_REG_AVOID_FULL_SCREEN, "EviterPleinEcran"},
    {IDS_REG_NEVER_OVER, "JamaisDevant"},
    {IDS_CAPTION_PAUSED, "Pendrel (paused)"},
    {IDS_TIP_ASIDE, "Pendrel (not over %s)"},
    {IDS_TIP_BLOCKED, "Pendrel (%s stayed over the taskbar)"},
    {IDS_RATE_FORMAT, "An average of %0d%c%0.2d"},
    {IDS_RATE_SUFFIX, " times per"},
    {IDS_UNIT_SECOND, "second"},
    {IDS_UNIT_MINUTE, "minute"},
    {IDS_UNIT_HOUR, "hour"},
    {IDS_UNIT_DAY, "day"},
    {IDS_DECIMAL_SEPARATOR, "."},
    {IDS_TIMER_ERROR, "Error creating a timer : please close all unuseful programs."},
    {IDS_TASKBAR_CLASS, "Shell_trayWnd"},
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << "string " << c.id; }

class StringTableTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringTableTest, LoadsByteForByte) {
    const StringCase& expected = GetParam();
    // The 0xE8 of "RetourArrièrePlan" only comes back as one byte when the
    // ANSI code page is 1252 (LANG=en_US.UTF-8 or C.UTF-8 under Wine).
    ASSERT_EQ(GetACP(), 1252u);
    char buffer[TEXT_BUFFER_SIZE];
    memset(buffer, 0x7F, sizeof buffer);
    const int length =
        LoadStringA(GetModuleHandleA(nullptr), expected.id, buffer, TEXT_LOAD_SIZE);
    ASSERT_EQ(length, static_cast<int>(strlen(expected.text)));
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)), expected.text);
    EXPECT_EQ(buffer[length], '\0');
}

INSTANTIATE_TEST_SUITE_P(Resources, StringTableTest, ::testing::ValuesIn(STRINGS),
                         [](const ::testing::TestParamInfo<StringCase>& info) {
                             return "Id" + std::to_string(info.param.id);
                         });

TEST_F(ResourceTest, NoStringsBesideTheTable) {
    // The table's block runs from 40000 to 40047 (string blocks hold sixteen).
    for (UINT id = 40000; id < 40048; ++id) {
        bool listed = false;
        for (const StringCase& s : STRINGS)
            listed = listed || s.id == id;
        if (listed)
            continue;
        char buffer[TEXT_BUFFER_SIZE];
        EXPECT_EQ(LoadStringA(g_app.program.instance, id, buffer, TEXT_LOAD_SIZE), 0) << "string " << id;
    }
}

TEST_F(ResourceTest, LinksAgreeWithTheirDrawnTexts) {
    char page[TEXT_BUFFER_SIZE], pageUrl[TEXT_BUFFER_SIZE];
    char mail[TEXT_BUFFER_SIZE], mailto[TEXT_BUFFER_SIZE];
    loadText(IDS_HOMEPAGE_TEXT, page);
    loadText(IDS_HOMEPAGE_URL, pageUrl);
    loadText(IDS_EMAIL_TEXT, mail);
    loadText(IDS_MAILTO_URL, mailto);

    EXPECT_STREQ(page, pageUrl);
    EXPECT_EQ(std::string(page).rfind("http://", 0), 0u);
    // "mailto:", a display name, the drawn address in angle brackets, the subject.
    const std::string url = mailto;
    const std::string tail = std::string(" <") + mail + ">?subject=Pendrel";
    ASSERT_EQ(url.rfind("mailto:", 0), 0u);
    ASSERT_GT(url.size(), strlen("mailto:") + tail.size());
    EXPECT_EQ(url.substr(url.size() - tail.size()), tail);
}

// ---------------------------------------------------------------------------
// Icons and cursor
// ---------------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

struct IconImage {
    int size;
    int colourCount;  // as the group entry holds it: 0 for 256 colours
    int bitCount;
};

struct IconGroupCase {
    int id;
    const char* name;
    std::vector<IconImage> images;
};

const IconGroupCase ICON_GROUPS[] = {
    {IDI_APP, "App", {{32, 0, 8}, {16, 16, 4}, {32, 16, 4}}},
    {IDI_ABOUT_PICTURE, "AboutPicture", {{48, 0, 8}, {48, 16, 4}}},
};

void PrintTo(const IconGroupCase& c, std::ostream* os) { *os << "icon group " << c.id; }

class IconGroupTest : public ::testing::TestWithParam<IconGroupCase> {};

TEST_P(IconGroupTest, EntriesAndImagesHaveTheirSizesAndDepths) {
    const IconGroupCase& expected = GetParam();
    DWORD size = 0;
    const BYTE* group = resourceBytes(RT_GROUP_ICON, expected.id, &size);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(size, 6u);
    WORD header[3];
    memcpy(header, group, sizeof header);
    EXPECT_EQ(header[0], 0);
    EXPECT_EQ(header[1], 1);  // icons, not cursors
    ASSERT_EQ(header[2], expected.images.size());
    ASSERT_EQ(size, 6 + header[2] * sizeof(GroupIconEntry));

    for (size_t i = 0; i < expected.images.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const IconImage& image = expected.images[i];
        GroupIconEntry entry;
        memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.width, image.size);
        EXPECT_EQ(entry.height, image.size);
        EXPECT_EQ(entry.colourCount, image.colourCount);
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bitCount, image.bitCount);

        // The image itself: a DIB of twice the height (colour bits and mask)
        // with the depth the entry announces, and one the system accepts.
        DWORD imageSize = 0;
        const BYTE* bits = resourceBytes(RT_ICON, entry.id, &imageSize);
        ASSERT_NE(bits, nullptr);
        ASSERT_EQ(imageSize, entry.bytesInRes);
        BITMAPINFOHEADER info;
        ASSERT_GE(imageSize, sizeof info);
        memcpy(&info, bits, sizeof info);
        EXPECT_EQ(info.biWidth, image.size);
        EXPECT_EQ(info.biHeight, 2 * image.size);
        EXPECT_EQ(info.biBitCount, image.bitCount);
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(bits), imageSize, TRUE,
                                              0x00030000, 0, 0, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr);
        if (icon)
            DestroyIcon(icon);
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, IconGroupTest, ::testing::ValuesIn(ICON_GROUPS),
                         [](const ::testing::TestParamInfo<IconGroupCase>& info) {
                             return std::string(info.param.name);
                         });

// The sizes the program asks for: the class and dialog icons, the tray's
// 16 by 16 image and the About picture at its own size.
TEST_F(ResourceTest, IconsLoadAtTheSizesTheProgramAsksFor) {
    struct Case {
        int id;
        int size;  // 0: LoadIconA, the system's large size
        int expected;
    };
    const Case cases[] = {
        {IDI_APP, 0, GetSystemMetrics(SM_CXICON)},
        {IDI_APP, 16, 16},
        {IDI_ABOUT_PICTURE, 48, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("icon " + std::to_string(c.id) + " at " + std::to_string(c.size));
        HICON icon = c.size == 0
            ? LoadIconA(g_app.program.instance, MAKEINTRESOURCEA(c.id))
            : static_cast<HICON>(LoadImageA(g_app.program.instance, MAKEINTRESOURCEA(c.id), IMAGE_ICON,
                                            c.size, c.size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        BITMAP colour = {};
        ASSERT_NE(info.hbmColor, nullptr);
        ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(colour.bmWidth, c.expected);
        EXPECT_EQ(colour.bmHeight, c.expected);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(ResourceTest, CursorIsAMonochromeHandWithItsHotSpotOnTheFingerTip) {
    DWORD size = 0;
    const BYTE* group = resourceBytes(RT_GROUP_CURSOR, IDR_LINK_CURSOR, &size);
    ASSERT_NE(group, nullptr);
    WORD header[3];
    ASSERT_GE(size, sizeof header);
    memcpy(header, group, sizeof header);
    EXPECT_EQ(header[1], 2);  // cursors
    ASSERT_EQ(header[2], 1);

    HCURSOR cursor = LoadCursorA(g_app.program.instance, MAKEINTRESOURCEA(IDR_LINK_CURSOR));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    // Monochrome: no colour bitmap, a 1-bit mask holding the AND and XOR halves.
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP mask = {};
    ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof mask, &mask));
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    EXPECT_EQ(mask.bmBitsPixel, 1);

    // The hot spot lies on the drawing, not on a transparent pixel: read the
    // AND mask of the stored image (bottom-up rows of 4 bytes, 1 transparent).
    const int cursorId = *reinterpret_cast<const WORD*>(group + 6 + 12);
    DWORD imageSize = 0;
    const BYTE* image = resourceBytes(RT_CURSOR, cursorId, &imageSize);
    ASSERT_NE(image, nullptr);
    const size_t andOffset = 4 + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 32 * 4;
    ASSERT_EQ(imageSize, andOffset + 32 * 4);
    WORD storedHotSpot[2];
    memcpy(storedHotSpot, image, sizeof storedHotSpot);
    EXPECT_EQ(storedHotSpot[0], 6);
    EXPECT_EQ(storedHotSpot[1], 0);
    const BYTE* topRow = image + andOffset + 31 * 4;
    EXPECT_EQ(topRow[0] & (0x80 >> 6), 0) << "the hot spot is transparent";
    DeleteObject(info.hbmMask);
}

// ---------------------------------------------------------------------------
// Context menu
// ---------------------------------------------------------------------------

// The numbers are written out: other programs send these commands.
TEST_F(ResourceTest, ContextMenuIsOnePopupWithFourCommands) {
    HMENU bar = LoadMenuA(g_app.program.instance, MAKEINTRESOURCEA(111));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    char title[TEXT_BUFFER_SIZE] = "x";
    EXPECT_EQ(GetMenuStringA(bar, 0, title, TEXT_LOAD_SIZE, MF_BYPOSITION), 0);
    EXPECT_STREQ(title, "");
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr);

    struct Item {
        UINT id;
        const char* text;
    };
    const Item items[] = {
        {30001, "&About Pendrel..."},
        {30002, "&Configuration..."},
        {30004, "&Pause"},
        {30003, "&Exit"},
    };
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    for (int position = 0; position < 4; ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        char text[TEXT_BUFFER_SIZE] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = TEXT_LOAD_SIZE;
        ASSERT_TRUE(GetMenuItemInfoA(popup, position, TRUE, &info));
        EXPECT_EQ(info.wID, items[position].id);
        EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));  // no separator, no bitmap
        EXPECT_EQ(info.fState, 0u);                            // enabled, unchecked
        EXPECT_EQ(info.hSubMenu, nullptr);
        EXPECT_STREQ(text, items[position].text);
    }
    DestroyMenu(bar);
}

// ---------------------------------------------------------------------------
// Dialog templates
// ---------------------------------------------------------------------------

struct ControlCase {
    int id;
    const char* className;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* text;  // null: the text is the ordinal `image`
    WORD image;
};

struct DialogCase {
    const char* name;
    int id;
    bool extended;
    DWORD style;
    short cx, cy;
    const char* title;
    WORD weight;
    BYTE charSet;
    std::vector<ControlCase> controls;
};

const DWORD CHILD = WS_CHILD | WS_VISIBLE;
const DWORD CHECK_BOX = CHILD | BS_AUTOCHECKBOX | WS_TABSTOP;

const DialogCase DIALOGS[] = {
    {"Config", IDD_CONFIG, false,
     WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT, 262, 242,
     "Pendrel Configuration", 0, 0,
     {
         {IDC_DELAY_ENABLED, "Button", CHECK_BOX, 0, 12, 18, 104, 10,
          "Delay the taskbar activation", 0},
         {IDC_DELAY_VALUE, "Edit",
          CHILD | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_MULTILINE | ES_RIGHT, 0,
          82, 28, 36, 12, "", 0},
         {IDC_RESTART_ON_MOVE, "Button", CHECK_BOX, 0, 26, 41, 122, 10,
          "Restart delay when mouse moves", 0},
         {IDC_OVER_TOPMOST, "Button", CHECK_BOX, 0, 12, 53, 123, 10,
          "&Go over \"always on top\" windows", 0},
         {IDC_SEND_BACK, "Button", CHECK_BOX, 0, 12, 66, 171, 10,
          "Get back the taskbar in the background after use", 0},
         {IDC_SHOW_ICON, "Button", CHECK_BOX, 0, 12, 79, 104, 10,
          "&Show an icon in the taskbar", 0},
         {IDC_REMOVE_ICON, "Button", CHECK_BOX, 0, 26, 90, 189, 11,
          "&Remove this icon after 2 minutes running", 0},
         {IDC_HIGHLIGHT, "Button", CHECK_BOX, 0, 12, 103, 177, 10,
          "&Hilight Pendrel when mouse moves over it", 0},
         {IDC_ALL_SCREENS, "Button", CHECK_BOX, 0, 12, 116, 150, 10, "Raise the taskbar on every &screen", 0},
         // The rows added below the last check box, 13 units apart; what
         // lies under them moved down by their 39 units.
         {IDC_START_AT_SIGN_IN, "Button", CHECK_BOX, 0, 12, 129, 150, 10, "Start Pendrel when I &sign in", 0},
         {IDC_HOT_KEY_LABEL, "Static", CHILD | SS_LEFT, 0, 12, 144, 128, 9, "Keyboard shortcut to show the taskbar:",
          0},
         {IDC_HOT_KEY, "msctls_hotkey32", CHILD | WS_BORDER | WS_TABSTOP, 0, 142, 142, 100, 12, "", 0},
         {IDC_HOT_KEY_TAKEN, "Static", WS_CHILD | SS_LEFT, 0, 12, 157, 230, 9,
          "This shortcut is used by another program.", 0},
         // Four more rows; what lies under them moved down by their 41 units.
         {IDC_AVOID_FULL_SCREEN, "Button", CHECK_BOX, 0, 12, 170, 200, 10,
          "Not over full-screen ga&mes and presentations", 0},
         {IDC_NEVER_OVER_LABEL, "Static", CHILD | SS_LEFT, 0, 12, 185, 100, 9, "&Never over these programs:", 0},
         {IDC_NEVER_OVER, "Edit", CHILD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 114, 183, 128, 12, "", 0},
         {IDC_NEVER_OVER_TOO_LONG, "Static", WS_CHILD | SS_LEFT, 0, 12, 198, 230, 9,
          "The list is longer than 1024 characters.", 0},
         {IDOK, "Button", CHILD | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 100, 224, 50, 14, "OK", 0},
         {IDCANCEL, "Button", CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0, 154, 224, 50, 14,
          "Cancel", 0},
         {IDC_APPLY, "Button", CHILD | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 0,
          208, 224, 50, 14, "&Apply", 0},
         {IDC_DELAY_LABEL, "Static", CHILD | SS_LEFT | WS_GROUP, 0, 26, 30, 53, 9,
          "&Value of delay :", 0},
         {IDC_DELAY_UNIT, "Static", CHILD | SS_LEFTNOWORDWRAP | WS_GROUP, 0, 120, 30, 14, 10,
          "ms", 0},
         {IDC_CONFIG_TAB, "SysTabControl32", CHILD | TCS_OWNERDRAWFIXED | TCS_FOCUSNEVER, 0,
          4, 3, 254, 217, "Tab3", 0},
     }},
    {"About", IDD_ABOUT, true, 0x90C80844, 208, 173, "About Pendrel", 0, DEFAULT_CHARSET,
     {
         {IDOK, "BUTTON", 0x50030001, 0, 154, 156, 50, 14, "OK", 0},
         {IDC_MAIL_LINK, "BUTTON", 0x5000000B, 0, 19, 74, 40, 10, "e-mail", 0},
         {IDC_WEB_LINK, "BUTTON", 0x5000000B, 0, 19, 87, 40, 10, "http", 0},
         {IDC_VERSION_LABEL, "STATIC", 0x50020000, 0, 58, 13, 141, 8, "Pendrel  v2.1", 0},
         {-1, "STATIC", 0x50020000, 0, 58, 27, 143, 18,
          "Show the taskbar even if it doesn't want to!", 0},
         {-1, "STATIC", 0x50020000, 0, 19, 61, 72, 8, "Lucien Garrow", 0},
         {-1, "STATIC", 0x50020000, 0, 100, 61, 17, 8, "2004", 0},
         {-1, "STATIC", 0x50800803, WS_EX_DLGMODALFRAME, 11, 10, 20, 20, nullptr,
          IDI_ABOUT_PICTURE},
         {IDC_COUNTER_LABEL, "STATIC", 0x50020000, 0, 19, 116, 164, 9,
          "You have activated %lu times the taskbar.", 0},
         {IDC_AVERAGE_LABEL, "STATIC", 0x50020000, 0, 19, 129, 106, 9,
          "An average of 888888 times per", 0},
         {IDC_UNIT_LIST, "COMBOBOX", 0x50210003, 0, 126, 127, 48, 69, "", 0},
         {IDC_ABOUT_TAB, "SysTabControl32", 0x50000000, 0, 5, 4, 199, 147, "Tab1", 0},
         {-1, "BUTTON", 0x50000007, 0, 11, 104, 187, 41, "Statistiques :", 0},
         {-1, "BUTTON", 0x50000007, 0, 11, 49, 187, 54, "Auteur :", 0},
         {IDC_RESET, "BUTTON", 0x50010000, 0, 176, 127, 19, 13, "init", 0},
     }},
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << "dialog " << c.id; }

class DialogTest : public ::testing::TestWithParam<DialogCase> {
protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.program.instance = GetModuleHandleA(nullptr);
    }
};

TEST_P(DialogTest, TemplateHeaderIsAsDesigned) {
    const DialogCase& expected = GetParam();
    DialogTemplate dialog;
    ASSERT_TRUE(loadDialogTemplate(g_app.program.instance, expected.id, dialog));
    EXPECT_EQ(dialog.extended, expected.extended);
    EXPECT_EQ(dialog.style, expected.style) << std::hex << dialog.style;
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, expected.cx);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.menu, "");
    // windres writes class names in capitals; the window manager compares
    // them without regard to case, and the window reports the registered name.
    EXPECT_EQ(lstrcmpiA(dialog.className.c_str(), DIALOG_CLASS), 0) << dialog.className;
    EXPECT_EQ(dialog.title, expected.title);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.fontName, "MS Sans Serif");
    EXPECT_EQ(dialog.weight, expected.weight);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charSet, expected.charSet);
    EXPECT_EQ(dialog.controls.size(), expected.controls.size());
}

TEST_P(DialogTest, TemplateControlsAreInOrderWithTheirAttributes) {
    const DialogCase& expected = GetParam();
    DialogTemplate dialog;
    ASSERT_TRUE(loadDialogTemplate(g_app.program.instance, expected.id, dialog));
    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        const ControlCase& want = expected.controls[i];
        const DialogControl& got = dialog.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(lstrcmpiA(got.className.c_str(), want.className), 0) << got.className;
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        if (want.text) {
            EXPECT_EQ(got.textOrdinal, 0);
            EXPECT_EQ(got.text, want.text);
        } else {
            EXPECT_EQ(got.textOrdinal, want.image);
        }
        EXPECT_TRUE(got.creationData.empty());
    }
}

INT_PTR CALLBACK plainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Registers the dialog class the templates name, with the attributes start-up
// gives it.
bool registerDialogClass() {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(g_app.program.instance, DIALOG_CLASS, &existing))
        return true;
    WNDCLASSEXA cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = DefDlgProcA;
    cls.cbWndExtra = DLGWINDOWEXTRA;
    cls.hInstance = g_app.program.instance;
    cls.hIcon = LoadIconA(g_app.program.instance, MAKEINTRESOURCEA(IDI_APP));
    cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    cls.lpszClassName = DIALOG_CLASS;
    return RegisterClassExA(&cls) != 0;
}

// A dialog-unit rectangle in client pixels of the dialog, as the dialog
// manager places the control: position and size are converted apart, so the
// right edge is not always the converted right edge in dialog units.
RECT pixels(HWND dialog, const ControlCase& c) {
    RECT r = {c.x, c.y, c.cx, c.cy};
    MapDialogRect(dialog, &r);
    r.right += r.left;
    r.bottom += r.top;
    return r;
}

RECT childRect(HWND dialog, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_P(DialogTest, CreatesWithTheDialogClassAndEveryControl) {
    const DialogCase& expected = GetParam();
    // The tab control's class lives in the common controls library, loaded
    // the program's way.
    ensureCommonControls();
    ASSERT_TRUE(registerDialogClass()) << GetLastError();

    HWND dialog = CreateDialogParamA(g_app.program.instance, MAKEINTRESOURCEA(expected.id), nullptr,
                                     plainDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    char text[TEXT_BUFFER_SIZE] = {};
    GetClassNameA(dialog, text, TEXT_LOAD_SIZE);
    EXPECT_STREQ(text, DIALOG_CLASS);
    GetWindowTextA(dialog, text, TEXT_LOAD_SIZE);
    EXPECT_STREQ(text, expected.title);
    EXPECT_TRUE(IsWindowVisible(dialog));

    // The children in z-order from the top are the controls in template order.
    HWND child = GetWindow(dialog, GW_CHILD);
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        const ControlCase& want = expected.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(want.id));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(LOWORD(GetDlgCtrlID(child)), LOWORD(want.id));
        GetClassNameA(child, text, TEXT_LOAD_SIZE);
        EXPECT_EQ(lstrcmpiA(text, want.className), 0) << text;

        const RECT place = pixels(dialog, want);
        const RECT got = childRect(dialog, child);
        EXPECT_EQ(got.left, place.left);
        EXPECT_EQ(got.top, place.top);
        const bool sizesItself = (want.style & SS_TYPEMASK) == SS_ICON &&
                                 lstrcmpiA(want.className, "STATIC") == 0;
        const bool dropsDown = lstrcmpiA(want.className, "COMBOBOX") == 0;
        if (!sizesItself && !dropsDown) {
            EXPECT_EQ(got.right, place.right);
            EXPECT_EQ(got.bottom, place.bottom);
        }
        if (sizesItself)
            EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0);
        else if (!dropsDown) {
            GetWindowTextA(child, text, TEXT_LOAD_SIZE);
            EXPECT_STREQ(text, want.text);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more children than the template has controls";
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(Resources, DialogTest, ::testing::ValuesIn(DIALOGS),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Version record
// ---------------------------------------------------------------------------

// One node of the VS_VERSIONINFO tree: length, value length, type, key, value,
// children, each part aligned on 32 bits from the start of the record.
struct VersionNode {
    const BYTE* start;
    WORD length;
    WORD valueLength;
    WORD type;
    std::wstring key;
    const BYTE* value;
    const BYTE* children;
};

size_t align4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

bool readVersionNode(const BYTE* base, const BYTE* at, const BYTE* end, VersionNode& node) {
    if (end - at < 6)
        return false;
    node.start = at;
    memcpy(&node.length, at, 2);
    memcpy(&node.valueLength, at + 2, 2);
    memcpy(&node.type, at + 4, 2);
    if (node.length < 6 || node.length > end - at)
        return false;
    const BYTE* nodeEnd = at + node.length;
    const BYTE* p = at + 6;
    node.key.clear();
    for (;;) {
        if (nodeEnd - p < 2)
            return false;
        wchar_t c;
        memcpy(&c, p, 2);
        p += 2;
        if (c == 0)
            break;
        node.key.push_back(c);
    }
    p = base + align4(static_cast<size_t>(p - base));
    node.value = p;
    const size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
    if (valueBytes > static_cast<size_t>(nodeEnd - p))
        return false;
    node.children = base + align4(static_cast<size_t>(p + valueBytes - base));
    if (node.children > nodeEnd)
        node.children = nodeEnd;  // a leaf whose length leaves out the last padding
    return true;
}

// Finds the child of `parent` named `key`.
bool versionChild(const BYTE* base, const VersionNode& parent, const wchar_t* key,
                  VersionNode& found) {
    const BYTE* end = parent.start + parent.length;
    const BYTE* p = parent.children;
    while (p < end) {
        if (!readVersionNode(base, p, end, found))
            return false;
        if (found.key == key)
            return true;
        p = base + align4(static_cast<size_t>(p + found.length - base));
    }
    return false;
}

TEST_F(ResourceTest, VersionRecordNamesTheProductAndVersion) {
    DWORD size = 0;
    const BYTE* base = resourceBytes(RT_VERSION, VS_VERSION_INFO, &size);
    ASSERT_NE(base, nullptr);
    VersionNode root;
    ASSERT_TRUE(readVersionNode(base, base, base + size, root));
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.valueLength, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    memcpy(&fixed, root.value, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00020001u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00020001u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));

    VersionNode strings, table, value;
    ASSERT_TRUE(versionChild(base, root, L"StringFileInfo", strings));
    ASSERT_TRUE(versionChild(base, strings, L"040904E4", table));
    struct Entry {
        const wchar_t* key;
        const wchar_t* text;  // null: any non-empty text
    };
    const Entry entries[] = {
        {L"ProductName", L"Pendrel"},
        {L"ProductVersion", L"2.1.0"},
        {L"FileVersion", L"2.1.0"},
        {L"CompanyName", L"Lucien Garrow"},
        {L"FileDescription", nullptr},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(ansiFromWide(e.key, lstrlenW(e.key)));
        ASSERT_TRUE(versionChild(base, table, e.key, value));
        ASSERT_EQ(value.type, 1);
        std::wstring text(reinterpret_cast<const wchar_t*>(value.value), value.valueLength);
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        if (e.text)
            EXPECT_EQ(text, e.text);
        else
            EXPECT_FALSE(text.empty());
    }

    VersionNode vars, translation;
    ASSERT_TRUE(versionChild(base, root, L"VarFileInfo", vars));
    ASSERT_TRUE(versionChild(base, vars, L"Translation", translation));
    WORD languageAndCodePage[2];
    ASSERT_EQ(translation.valueLength, sizeof languageAndCodePage);
    memcpy(languageAndCodePage, translation.value, sizeof languageAndCodePage);
    EXPECT_EQ(languageAndCodePage[0], 0x0409);
    EXPECT_EQ(languageAndCodePage[1], 1252);
}

// ---------------------------------------------------------------------------
// Application manifest
// ---------------------------------------------------------------------------

// The test executables link the program's resource script, so they carry its
// manifest and the loader gives them the activation context it gives the program.

const char* const MANIFEST_DECLARATIONS[] = {
    "name=\"Microsoft.Windows.Common-Controls\"",
    "publicKeyToken=\"6595b64144ccf1df\"",
    "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
    "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
    "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // Windows 8
    "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // Windows 8.1
    "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
    "<requestedExecutionLevel level=\"asInvoker\"",
};

TEST_F(ResourceTest, ManifestIsResourceOneWithItsDeclarations) {
    DWORD size = 0;
    const BYTE* bytes =
        resourceBytes(RT_MANIFEST, LOWORD(CREATEPROCESS_MANIFEST_RESOURCE_ID), &size);
    ASSERT_NE(bytes, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(bytes), size);
    EXPECT_EQ(manifest.find('\0'), std::string::npos) << "the manifest text holds a NUL";
    for (const char* declaration : MANIFEST_DECLARATIONS)
        EXPECT_NE(manifest.find(declaration), std::string::npos) << declaration;
}

// Read back through the activation context, so the loader has parsed it.
std::wstring manifestSetting(const wchar_t* settingsNamespace, const wchar_t* name) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, nullptr, settingsNamespace, name, value, ARRAYSIZE(value),
                              &written))
        return L"(none)";
    return value;
}

TEST_F(ResourceTest, LoaderTakesCommonControlsSixAndPerMonitorAwarenessFromTheManifest) {
    // Version 6 lives only in the side-by-side store; without the dependency
    // the name resolves to system32's version 5. (Wine's copy reports 5.81
    // through DllGetVersion either way, so the path is what tells them apart.)
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(comctl, path, MAX_PATH), 0u);
    CharLowerA(path);
    EXPECT_NE(strstr(path, "\\winsxs\\"), nullptr) << path;
    EXPECT_NE(strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.0."), nullptr)
        << path;
    FreeLibrary(comctl);

    EXPECT_EQ(manifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                              L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(manifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                              L"dpiAware"),
              L"true/pm");
}

}  // namespace
