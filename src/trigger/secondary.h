// The taskbars of the other monitors, each with a strip of its own.
#pragma once

// The secondary taskbars of this poll, looked for afresh when `search` is
// set and otherwise the kept ones that are still there and shown: strips for
// new ones, strips of taskbars that went away destroyed, every strip on its
// taskbar's edge. With `wanted` false every secondary strip goes.
void followSecondaryTaskbars(bool wanted, bool search);
