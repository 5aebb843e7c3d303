#pragma once

// Registers the tab control class both dialogs frame their content with. The
// library is loaded on the first dialog, not at start-up, so a Pendrel that
// never opens a dialog neither imports nor maps it.
void ensureCommonControls();
