#pragma once

// Reads the settings from the current user's registry key into
// the settings; missing or unreadable values keep what is there.
void loadSettings();
// Writes every setting as REG_SZ, changed or not: the numbers as decimal
// text, the list of programs as it is.
void saveSettings();
