#include "app/app_state.h"

AppState g_app;

int loadText(UINT id, char (&buffer)[TEXT_BUFFER_SIZE]) {
    buffer[0] = '\0';
    return LoadStringA(g_app.instance, id, buffer, TEXT_LOAD_SIZE);
}
