// The About dialog's two owner-drawn buttons that look and behave like links:
// fitted to their text, blue with a pointing hand while the pointer is on them.
#pragma once
#include <windows.h>

// Installed on both buttons; sees the pointer arrive over a link.
LRESULT CALLBACK linkButtonProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam);

// The first draw after the dialog opens fits the button to the text and draws
// nothing; later draws write the text in the link's colour. Returns 1.
INT_PTR drawLinkButton(HWND link, HWND dialog, HDC dc, const char* text, COLORREF& color, LONG& sized);

// Takes the two buttons of the dialog and subclasses them, when their window
// procedure can be read.
void subclassLinkButtons(HWND dialog);

// The dialog's side, called from its procedure.
INT_PTR onLinksDialogSetCursor();
INT_PTR onLinksDrawItem(HWND dialog, WPARAM controlId, const DRAWITEMSTRUCT* item);
INT_PTR onLinksSysColorChange();
INT_PTR onLinksActivate(WPARAM state);
