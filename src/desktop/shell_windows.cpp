#include "desktop/shell_windows.h"

#include "resources/constants.h"
#include "resources/file_names.h"

static size_t lengthOf(const wchar_t* text) {
    size_t length = 0;
    while (text[length] != L'\0')
        ++length;
    return length;
}

static bool sameImageName(const wchar_t* path, const wchar_t* otherPath) {
    const wchar_t* name = fileNameOf(path);
    const wchar_t* other = fileNameOf(otherPath);
    return sameFileName(name, lengthOf(name), other, lengthOf(other));
}

bool shellHostImage(const wchar_t* image) {
    for (unsigned i = 0; i < SHELL_HOST_IMAGE_COUNT; ++i)
        if (sameImageName(image, SHELL_HOST_IMAGES[i]))
            return true;
    return false;
}

bool frameHostImage(const wchar_t* image) {
    return sameImageName(image, APPLICATION_FRAME_HOST_IMAGE);
}

bool shownByShell(const WindowKin& kin) {
    if (kin.image != nullptr && shellHostImage(kin.image))
        return true;
    if (kin.fillsMonitor)
        return false;
    if (kin.ownedByTaskbar)
        return true;
    if (kin.captioned)
        return false;
    if (kin.taskbarProcess)
        return true;
    return kin.image != nullptr && kin.taskbarImage != nullptr && sameImageName(kin.image, kin.taskbarImage);
}
