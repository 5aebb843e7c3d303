#include "resources/program.h"
#include "resources/resource.h"

int loadText(UINT id, char (&buffer)[TEXT_BUFFER_SIZE]) {
    buffer[0] = '\0';
    return LoadStringA(programState().instance, id, buffer, TEXT_LOAD_SIZE);
}

HICON loadSmallAppIcon() {
    return (HICON)LoadImageA(programState().instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, SMALL_ICON_SIZE,
                             SMALL_ICON_SIZE, LR_DEFAULTCOLOR);
}
