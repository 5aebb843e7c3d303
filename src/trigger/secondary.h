// The taskbars of the other monitors, each with a strip of its own.
#pragma once

// Finds the secondary taskbars of this poll: strips for new ones, strips of
// taskbars that went away destroyed, every strip on its taskbar's edge.
// With `wanted` false every secondary strip goes.
void followSecondaryTaskbars(bool wanted);
