#include "about/link_buttons.h"

#include "about/about_state.h"
#include "resources/program.h"
#include "resources/resource.h"

namespace {

COLORREF normalLinkColor() {
    return GetSysColor(COLOR_WINDOWTEXT);
}

// The colour field that belongs to a link, or null for any other window.
COLORREF* colorOf(HWND link) {
    if (link == aboutState().mailLink)
        return &aboutState().mailLinkColor;
    if (link == aboutState().webLink)
        return &aboutState().webLinkColor;
    return nullptr;
}

void paintLink(HWND link, COLORREF color) {
    COLORREF* field = colorOf(link);
    if (field != nullptr)
        *field = color;
    InvalidateRect(link, nullptr, TRUE);
}

LRESULT onLinkSetCursor(HWND link) {
    if (link != aboutState().hotLink) {
        paintLink(link, LINK_HOVER_COLOR);
        if (aboutState().hotLink != nullptr)
            paintLink(aboutState().hotLink, normalLinkColor());
        aboutState().hotLink = link;
    }
    // Set on every pointer message, and the message goes no further, so no
    // other cursor replaces the hand.
    SetCursor(LoadCursorA(programState().instance, MAKEINTRESOURCEA(IDR_LINK_CURSOR)));
    return 0;
}

LRESULT passOn(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    if (aboutState().linkPrevProc == nullptr)
        return DefWindowProcA(link, message, wParam, lParam);
    return CallWindowProcA(aboutState().linkPrevProc, link, message, wParam, lParam);
}

INT_PTR drawLink(HWND dialog, HDC dc, UINT textId, HWND link, COLORREF& color, LONG& sized) {
    char text[TEXT_BUFFER_SIZE];
    loadText(textId, text);
    return drawLinkButton(link, dialog, dc, text, color, sized);
}

}  // namespace

LRESULT CALLBACK linkButtonProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: return onLinkSetCursor(link);
    default: return passOn(link, message, wParam, lParam);
    }
}

INT_PTR drawLinkButton(HWND link, HWND dialog, HDC dc, const char* text, COLORREF& color, LONG& sized) {
    const int length = lstrlenA(text);
    if (sized == 0) {
        // Fit first and draw nothing: the repaint the move asks for brings the
        // draw that writes the text at the new size.
        RECT frame = {};
        GetWindowRect(link, &frame);
        POINT topLeft = {frame.left, frame.top};
        ScreenToClient(dialog, &topLeft);
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text, length, &extent);
        MoveWindow(link, topLeft.x, topLeft.y, extent.cx + LINK_WIDTH_PAD, frame.bottom - frame.top, TRUE);
        sized = 1;
    } else {
        SetTextColor(dc, color);
        TextOutA(dc, 0, 0, text, length);
    }
    return 1;
}

void subclassLinkButtons(HWND dialog) {
    aboutState().mailLink = GetDlgItem(dialog, IDC_MAIL_LINK);
    aboutState().webLink = GetDlgItem(dialog, IDC_WEB_LINK);
    // Both buttons are of the BUTTON class, so one saved procedure serves both.
    aboutState().linkPrevProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(aboutState().mailLink, GWLP_WNDPROC));
    if (aboutState().linkPrevProc == nullptr)
        return;
    const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&linkButtonProc);
    SetWindowLongPtrA(aboutState().mailLink, GWLP_WNDPROC, proc);
    SetWindowLongPtrA(aboutState().webLink, GWLP_WNDPROC, proc);
}

INT_PTR onLinksDialogSetCursor() {
    // The pointer is over the dialog but on neither link.
    if (aboutState().hotLink != nullptr) {
        paintLink(aboutState().hotLink, normalLinkColor());
        aboutState().hotLink = nullptr;
    }
    return FALSE;
}

INT_PTR onLinksDrawItem(HWND dialog, WPARAM controlId, const DRAWITEMSTRUCT* item) {
    // Only whole draws: the links have no pressed look and no focus rectangle.
    if (item->itemAction != ODA_DRAWENTIRE)
        return FALSE;
    if (controlId == IDC_MAIL_LINK)
        return drawLink(dialog, item->hDC, IDS_EMAIL_TEXT, aboutState().mailLink, aboutState().mailLinkColor, aboutState().mailLinkSized);
    if (controlId == IDC_WEB_LINK)
        return drawLink(dialog, item->hDC, IDS_HOMEPAGE_TEXT, aboutState().webLink, aboutState().webLinkColor, aboutState().webLinkSized);
    return FALSE;
}

INT_PTR onLinksSysColorChange() {
    // The hot link keeps its hover colour.
    if (aboutState().mailLink != aboutState().hotLink)
        aboutState().mailLinkColor = normalLinkColor();
    if (aboutState().webLink != aboutState().hotLink)
        aboutState().webLinkColor = normalLinkColor();
    return FALSE;
}

INT_PTR onLinksActivate(WPARAM state) {
    // Losing activation keeps the hot link's colour and gives it the focus, which
    // the dialog manager remembers for the next activation.
    if (LOWORD(state) == WA_INACTIVE && aboutState().hotLink != nullptr) {
        SetFocus(aboutState().hotLink);
        aboutState().hotLink = nullptr;
    }
    return FALSE;
}
