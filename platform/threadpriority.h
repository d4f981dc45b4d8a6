#pragma once

namespace platform {

// Makes the calling thread yield to the process's other threads: it runs on what they leave
// idle. For background work that must never slow a transfer; within the process only, so the
// thread still gets the whole process's share once the others wait. Best effort: a system that
// refuses leaves the priority as it was.
void lowerCurrentThreadPriority();

} // namespace platform
