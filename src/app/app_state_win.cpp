#include "app/app_state.h"

#include "resources/resource.h"

AppState g_app;

int loadText(UINT id, char (&buffer)[TEXT_BUFFER_SIZE]) {
    buffer[0] = '\0';
    return LoadStringA(g_app.instance, id, buffer, TEXT_LOAD_SIZE);
}

HICON loadSmallAppIcon() {
    return (HICON)LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, SMALL_ICON_SIZE, SMALL_ICON_SIZE,
                             LR_DEFAULTCOLOR);
}
