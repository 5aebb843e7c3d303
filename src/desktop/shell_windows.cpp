#include "desktop/shell_windows.h"

#include "resources/constants.h"
#include "resources/file_names.h"

bool shellHostImage(const wchar_t* image) {
    for (unsigned i = 0; i < SHELL_HOST_IMAGE_COUNT; ++i)
        if (sameFileNameOf(image, SHELL_HOST_IMAGES[i]))
            return true;
    return false;
}

bool frameHostImage(const wchar_t* image) {
    return sameFileNameOf(image, APPLICATION_FRAME_HOST_IMAGE);
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
    return kin.image != nullptr && kin.taskbarImage != nullptr && sameFileNameOf(kin.image, kin.taskbarImage);
}
