#pragma once

#include <cstdint>

namespace platform {

// Takes the whole pages inside [address, address + size) of a file mapping out of the
// process's resident memory. The content stays with the file (written pages included) and a
// later read of them maps them back from the file, so this only bounds how much of a large
// mapped file counts against the process at once. False when the system refused.
bool releaseMappedPages(const void *address, std::int64_t size);

} // namespace platform
