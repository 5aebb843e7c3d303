// Reads dialog templates (DLGTEMPLATE and DLGTEMPLATEEX) from a module's
// resources, so tests can compare what windres wrote with what the dialogs
// must contain, independently of what the dialog manager makes of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DialogControl {
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;              // sign-extended: a template id of -1 reads -1 in both forms
    std::string className;   // predefined class atoms are given their names ("Button", ...)
    std::string text;        // empty when the text is an ordinal
    WORD textOrdinal = 0;    // the resource number when the text is an ordinal (0xFFFF, n)
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;        // empty: no menu; "#n": ordinal n
    std::string className;   // empty: the system dialog class; "#n": ordinal n
    std::string title;
    WORD pointSize = 0;      // the font, present when the style has DS_SETFONT
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = 0;
    std::string fontName;
    std::vector<DialogControl> controls;
};

// Parses a template of either form. Returns false, leaving `out` undefined,
// when the bytes end before the template does.
bool parseDialogTemplate(const void* data, size_t size, DialogTemplate& out);

// Finds RT_DIALOG `id` in `module` and parses it.
bool loadDialogTemplate(HMODULE module, int id, DialogTemplate& out);

// Strings in templates are UTF-16; tests compare them as code page 1252 bytes,
// the way the program's ANSI calls see them.
std::string ansiFromWide(const wchar_t* text, int length);
