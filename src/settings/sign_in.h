// Starting Pendrel when the user signs in: the value PENDREL_RUN_VALUE of the
// current user's Run key. It lives only there, not among the settings of
// Pendrel's own key.
#pragma once

// Whether the Run value starts this copy of the program (from where it runs now).
bool startsAtSignIn();
// Points the Run value at this copy; or, with `start` false, removes a Run
// value that starts this copy and leaves one that starts another program alone.
void setStartAtSignIn(bool start);
