#include <string>

#include "about/link_buttons.h"
#include "about_fixture.h"

namespace about_test {
namespace {

const LPARAM POINTER_MOVE = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

COLORREF normal() {
    return GetSysColor(COLOR_WINDOWTEXT);
}

LRESULT pointTo(HWND window) {
    return SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), POINTER_MOVE);
}

bool needsPaint(HWND window) {
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

// Width of `text` in the font the button draws with.
int textWidth(HWND button, const std::string& text) {
    HDC dc = GetDC(button);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    return extent.cx;
}

RECT rectInDialog(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Pixels of exactly `color` in the window's client area, and the rightmost
// column holding one (-1 when none).
struct Ink {
    int pixels;
    int rightmost;
};

Ink inkOf(HWND window, COLORREF color) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Ink ink = {0, -1};
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(dc, x, y) == color) {
                ++ink.pixels;
                if (x > ink.rightmost)
                    ink.rightmost = x;
            }
    ReleaseDC(window, dc);
    return ink;
}

void paintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpOnce();
}

using LinkButtonTest = AboutFixture;

TEST_F(LinkButtonTest, FittedToTheAddressAndTheUrlAtTheTemplatesCorner) {
    const struct {
        int id;
        RECT template_;  // dialog units: x, y, x + width, y + height
        UINT textId;
        const char* caption;
    } links[] = {
        {IDC_MAIL_LINK, {19, 74, 59, 84}, IDS_EMAIL_TEXT, "e-mail"},
        {IDC_WEB_LINK, {19, 87, 59, 97}, IDS_HOMEPAGE_TEXT, "http"},
    };
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(g_app.about.mailLinkSized && g_app.about.webLinkSized);
    for (const auto& link : links) {
        HWND button = GetDlgItem(dialog, link.id);
        RECT expected = link.template_;
        MapDialogRect(dialog, &expected);
        const RECT actual = rectInDialog(dialog, button);
        const std::string text = stringResource(link.textId);
        EXPECT_EQ(actual.left, expected.left) << link.id;
        EXPECT_EQ(actual.top, expected.top) << link.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top) << link.id;
        EXPECT_EQ(actual.right - actual.left, textWidth(button, text) + 3) << link.id << " " << text;
        EXPECT_NE(actual.right - actual.left, textWidth(button, link.caption) + 3) << link.id;

        // Drawn in the window-text colour, across the width of the whole text,
        // not just the template's short caption.
        const Ink ink = inkOf(button, normal());
        EXPECT_GT(ink.pixels, 0) << link.id;
        EXPECT_GT(ink.rightmost, textWidth(button, link.caption)) << link.id;
        EXPECT_EQ(inkOf(button, LINK_HOVER_COLOR).pixels, 0) << link.id;
    }
    EXPECT_NE(stringResource(IDS_EMAIL_TEXT).find('@'), std::string::npos);
    EXPECT_EQ(stringResource(IDS_HOMEPAGE_TEXT).rfind("http", 0), 0u);
}

TEST_F(LinkButtonTest, FirstDrawFitsAndPaintsNothingTheNextWritesTheText) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    HWND button = g_app.about.mailLink;

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)));
    RECT all = {0, 0, 300, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    auto blue = [&] {
        int pixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x)
                pixels += GetPixel(dc, x, y) == LINK_HOVER_COLOR;
        return pixels;
    };

    const char* text = "someone.else@example.org";
    COLORREF color = LINK_HOVER_COLOR;
    LONG sized = 0;
    EXPECT_EQ(drawLinkButton(button, dialog, dc, text, color, sized), 1);
    EXPECT_EQ(sized, 1);
    EXPECT_EQ(blue(), 0);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    const RECT fitted = rectInDialog(dialog, button);
    EXPECT_EQ(fitted.right - fitted.left, extent.cx + 3);

    EXPECT_EQ(drawLinkButton(button, dialog, dc, text, color, sized), 1);
    EXPECT_GT(blue(), 0);
    EXPECT_EQ(rectInDialog(dialog, button).right, fitted.right);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(LinkButtonTest, OnlyWholeDrawsOfTheTwoLinksAreHandled) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    const struct {
        UINT id;
        UINT action;
    } ignored[] = {
        {IDC_MAIL_LINK, ODA_SELECT}, {IDC_MAIL_LINK, ODA_FOCUS}, {IDC_WEB_LINK, ODA_SELECT},
        {IDC_WEB_LINK, ODA_FOCUS},   {IDOK, ODA_DRAWENTIRE},
    };
    g_app.about.mailLinkSized = 0;
    g_app.about.webLinkSized = 0;
    HDC dc = GetDC(dialog);
    for (const auto& request : ignored) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = request.id;
        item.itemAction = request.action;
        item.hwndItem = GetDlgItem(dialog, request.id);
        item.hDC = dc;
        EXPECT_EQ(aboutDialogProc(dialog, WM_DRAWITEM, request.id, reinterpret_cast<LPARAM>(&item)), FALSE)
            << request.id << " " << request.action;
    }
    EXPECT_EQ(g_app.about.mailLinkSized, 0);
    EXPECT_EQ(g_app.about.webLinkSized, 0);
    DRAWITEMSTRUCT whole = {};
    whole.CtlType = ODT_BUTTON;
    whole.CtlID = IDC_WEB_LINK;
    whole.itemAction = ODA_DRAWENTIRE;
    whole.hwndItem = g_app.about.webLink;
    whole.hDC = dc;
    EXPECT_EQ(aboutDialogProc(dialog, WM_DRAWITEM, IDC_WEB_LINK, reinterpret_cast<LPARAM>(&whole)), 1);
    EXPECT_EQ(g_app.about.webLinkSized, 1);
    EXPECT_EQ(g_app.about.mailLinkSized, 0);
    ReleaseDC(dialog, dc);
}

TEST_F(LinkButtonTest, PointerTurnsTheLinkBlueAndTheOtherBack) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    HWND mail = g_app.about.mailLink;
    HWND web = g_app.about.webLink;
    HCURSOR hand = LoadCursorA(g_app.program.instance, MAKEINTRESOURCEA(IDR_LINK_CURSOR));
    ASSERT_NE(hand, nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));

    // Each step: where the pointer goes, then the hot link, both colours and
    // which links were invalidated.
    const struct {
        const char* step;
        HWND target;
        HWND hot;
        COLORREF mailColor;
        COLORREF webColor;
        bool mailRepainted;
        bool webRepainted;
    } steps[] = {
        {"onto the e-mail link", mail, mail, LINK_HOVER_COLOR, normal(), true, false},
        {"within the e-mail link", mail, mail, LINK_HOVER_COLOR, normal(), false, false},
        {"straight onto the web link", web, web, normal(), LINK_HOVER_COLOR, true, true},
        {"onto the dialog", dialog, nullptr, normal(), normal(), false, true},
        {"over the dialog again", dialog, nullptr, normal(), normal(), false, false},
        {"onto the OK button", GetDlgItem(dialog, IDOK), nullptr, normal(), normal(), false, false},
        {"onto the web link again", web, web, normal(), LINK_HOVER_COLOR, false, true},
        {"onto the OK button, which asks the dialog", GetDlgItem(dialog, IDOK), nullptr, normal(), normal(), false,
         true},
    };
    for (const auto& s : steps) {
        ValidateRect(mail, nullptr);
        ValidateRect(web, nullptr);
        SetCursor(arrow);
        const LRESULT result = pointTo(s.target);
        EXPECT_EQ(g_app.about.hotLink, s.hot) << s.step;
        EXPECT_EQ(g_app.about.mailLinkColor, s.mailColor) << s.step;
        EXPECT_EQ(g_app.about.webLinkColor, s.webColor) << s.step;
        EXPECT_EQ(needsPaint(mail), s.mailRepainted) << s.step;
        EXPECT_EQ(needsPaint(web), s.webRepainted) << s.step;
        if (s.target == mail || s.target == web) {
            // The link keeps the message: no other cursor replaces the hand.
            EXPECT_EQ(result, 0) << s.step;
            EXPECT_EQ(GetCursor(), hand) << s.step;
        }
    }
}

TEST_F(LinkButtonTest, HotLinkIsDrawnInTheHoverColour) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    pointTo(g_app.about.mailLink);
    paintNow(dialog);
    EXPECT_GT(inkOf(g_app.about.mailLink, LINK_HOVER_COLOR).pixels, 0);
    EXPECT_EQ(inkOf(g_app.about.mailLink, normal()).pixels, 0);
    EXPECT_GT(inkOf(g_app.about.webLink, normal()).pixels, 0);

    pointTo(dialog);
    paintNow(dialog);
    EXPECT_EQ(inkOf(g_app.about.mailLink, LINK_HOVER_COLOR).pixels, 0);
    EXPECT_GT(inkOf(g_app.about.mailLink, normal()).pixels, 0);
}

TEST_F(LinkButtonTest, LosingActivationKeepsTheBlueAndGivesTheLinkTheFocus) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    HWND mail = g_app.about.mailLink;
    HWND web = g_app.about.webLink;
    pointTo(mail);
    ValidateRect(mail, nullptr);
    SendMessageA(dialog, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_EQ(g_app.about.hotLink, nullptr);
    EXPECT_EQ(g_app.about.mailLinkColor, LINK_HOVER_COLOR);
    EXPECT_EQ(GetFocus(), mail);
    EXPECT_FALSE(needsPaint(mail));

    // The other link turns blue as well; the first stays blue when the pointer
    // leaves, as it is no longer the hot one.
    pointTo(web);
    EXPECT_EQ(g_app.about.mailLinkColor, LINK_HOVER_COLOR);
    EXPECT_EQ(g_app.about.webLinkColor, LINK_HOVER_COLOR);
    pointTo(dialog);
    EXPECT_EQ(g_app.about.mailLinkColor, LINK_HOVER_COLOR);
    EXPECT_EQ(g_app.about.webLinkColor, normal());

    // Activation changes nothing.
    pointTo(web);
    SendMessageA(dialog, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_EQ(g_app.about.hotLink, web);
}

TEST_F(LinkButtonTest, SystemColourChangeResetsAllButTheHotLink) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    const COLORREF stale = 0x00123456;
    pointTo(g_app.about.mailLink);
    g_app.about.webLinkColor = stale;
    ValidateRect(g_app.about.webLink, nullptr);
    SendMessageA(dialog, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(g_app.about.mailLinkColor, LINK_HOVER_COLOR);
    EXPECT_EQ(g_app.about.webLinkColor, normal());
    EXPECT_FALSE(needsPaint(g_app.about.webLink));

    pointTo(dialog);
    g_app.about.mailLinkColor = stale;
    g_app.about.webLinkColor = stale;
    SendMessageA(dialog, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(g_app.about.mailLinkColor, normal());
    EXPECT_EQ(g_app.about.webLinkColor, normal());
}

TEST_F(LinkButtonTest, BothLinksShareTheButtonsOwnProcedure) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    const LONG_PTR installed = reinterpret_cast<LONG_PTR>(&linkButtonProc);
    EXPECT_EQ(GetWindowLongPtrA(g_app.about.mailLink, GWLP_WNDPROC), installed);
    EXPECT_EQ(GetWindowLongPtrA(g_app.about.webLink, GWLP_WNDPROC), installed);
    EXPECT_NE(g_app.about.linkPrevProc, nullptr);
    // Other messages reach the button: its text is still the template's.
    char caption[TEXT_BUFFER_SIZE] = {};
    GetWindowTextA(g_app.about.webLink, caption, TEXT_BUFFER_SIZE);
    EXPECT_STREQ(caption, "http");
}

}  // namespace
}  // namespace about_test
