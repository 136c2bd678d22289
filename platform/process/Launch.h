#pragma once

// How a started program's window should first appear. X11 has no show state that a parent
// hands to a new process (the program maps its own windows when it chooses), so both
// values start the program in the same way; the choice is kept because the callers state
// it and it documents what they expect: Hidden for a converter that works without a
// window, Shown for a program the user is meant to see.
enum class Launch { Hidden, Shown };
