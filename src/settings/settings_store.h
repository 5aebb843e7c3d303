#pragma once

// Reads the eight settings from the current user's registry key into
// the settings; missing or unreadable values keep what is there.
void loadSettings();
// Writes all eight settings as REG_SZ decimal text, changed or not.
void saveSettings();
