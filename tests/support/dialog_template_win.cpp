#include "support/dialog_template.h"

#include <string.h>

namespace {

// A bounds-checked cursor over the template's bytes. Every read after the end
// sets `failed` and yields zeros, so the parser needs one check at the end.
struct Reader {
    const BYTE* data;
    size_t size;
    size_t offset = 0;
    bool failed = false;

    bool take(void* out, size_t count) {
        if (failed || count > size - offset) {
            failed = true;
            memset(out, 0, count);
            return false;
        }
        memcpy(out, data + offset, count);
        offset += count;
        return true;
    }
    BYTE byte() { BYTE v; take(&v, sizeof v); return v; }
    WORD word() { WORD v; take(&v, sizeof v); return v; }
    DWORD dword() { DWORD v; take(&v, sizeof v); return v; }
    short signedWord() { return static_cast<short>(word()); }

    void alignDword() {
        size_t aligned = (offset + 3) & ~static_cast<size_t>(3);
        if (aligned > size)
            failed = true;
        else
            offset = aligned;
    }

    std::wstring wideString() {
        std::wstring text;
        for (;;) {
            WORD c = word();
            if (failed || c == 0)
                return text;
            text.push_back(static_cast<wchar_t>(c));
        }
    }
};

const char* predefinedClassName(WORD atom) {
    switch (atom) {
    case 0x0080: return "Button";
    case 0x0081: return "Edit";
    case 0x0082: return "Static";
    case 0x0083: return "ListBox";
    case 0x0084: return "ScrollBar";
    case 0x0085: return "ComboBox";
    default: return nullptr;
    }
}

// The menu and class fields of the header: 0 none, 0xFFFF then an ordinal,
// otherwise a string.
std::string nameOrOrdinal(Reader& r) {
    WORD first = r.word();
    if (first == 0)
        return std::string();
    if (first == 0xFFFF)
        return "#" + std::to_string(r.word());
    r.offset -= sizeof(WORD);
    std::wstring text = r.wideString();
    return ansiFromWide(text.c_str(), static_cast<int>(text.size()));
}

void readControl(Reader& r, bool extended, DialogControl& c) {
    r.alignDword();
    if (extended) {
        c.helpId = r.dword();
        c.exStyle = r.dword();
        c.style = r.dword();
    } else {
        c.style = r.dword();
        c.exStyle = r.dword();
    }
    c.x = r.signedWord();
    c.y = r.signedWord();
    c.cx = r.signedWord();
    c.cy = r.signedWord();
    c.id = extended ? static_cast<int>(r.dword()) : static_cast<int>(r.signedWord());

    WORD first = r.word();
    if (first == 0xFFFF) {
        WORD atom = r.word();
        const char* name = predefinedClassName(atom);
        c.className = name ? name : "#" + std::to_string(atom);
    } else {
        r.offset -= sizeof(WORD);
        std::wstring name = r.wideString();
        c.className = ansiFromWide(name.c_str(), static_cast<int>(name.size()));
    }

    first = r.word();
    if (first == 0xFFFF) {
        c.textOrdinal = r.word();
    } else {
        r.offset -= sizeof(WORD);
        std::wstring text = r.wideString();
        c.text = ansiFromWide(text.c_str(), static_cast<int>(text.size()));
    }

    WORD extra = r.word();
    if (extra > 0) {
        c.creationData.resize(extra);
        r.take(c.creationData.data(), extra);
    }
}

}  // namespace

std::string ansiFromWide(const wchar_t* text, int length) {
    if (length == 0)
        return std::string();
    int needed = WideCharToMultiByte(1252, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(1252, 0, text, length, &out[0], needed, nullptr, nullptr);
    return out;
}

bool parseDialogTemplate(const void* data, size_t size, DialogTemplate& out) {
    out = DialogTemplate{};
    Reader r{static_cast<const BYTE*>(data), size};

    WORD version = r.word();
    WORD signature = r.word();
    out.extended = version == 1 && signature == 0xFFFF;
    if (out.extended) {
        out.helpId = r.dword();
        out.exStyle = r.dword();
        out.style = r.dword();
    } else {
        r.offset = 0;
        out.style = r.dword();
        out.exStyle = r.dword();
    }
    WORD count = r.word();
    out.x = r.signedWord();
    out.y = r.signedWord();
    out.cx = r.signedWord();
    out.cy = r.signedWord();
    out.menu = nameOrOrdinal(r);
    out.className = nameOrOrdinal(r);
    std::wstring title = r.wideString();
    out.title = ansiFromWide(title.c_str(), static_cast<int>(title.size()));

    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.pointSize = r.word();
        if (out.extended) {
            out.weight = r.word();
            out.italic = r.byte();
            out.charSet = r.byte();
        }
        std::wstring font = r.wideString();
        out.fontName = ansiFromWide(font.c_str(), static_cast<int>(font.size()));
    }

    out.controls.resize(count);
    for (DialogControl& c : out.controls)
        readControl(r, out.extended, c);
    return !r.failed;
}

bool loadDialogTemplate(HMODULE module, int id, DialogTemplate& out) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    return parseDialogTemplate(data, SizeofResource(module, found), out);
}
