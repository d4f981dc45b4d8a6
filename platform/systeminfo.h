#pragma once

#include <string>

namespace platform {

// The processor's marketing name ("Intel(R) Core(TM) i7-..."), empty when the system does not
// say.
std::string processorName();

// Available and total physical memory in bytes; false when they cannot be read.
bool physicalMemory(unsigned long long *availableBytes, unsigned long long *totalBytes);

} // namespace platform
