#pragma once

#include <string>

namespace platform {

// A system-wide mutex that marks a running process (the updater holds one so that the
// launcher stays away while its files are being replaced). The operating system releases
// it when the holder dies, however it dies.
class NamedMutex
{
public:
    explicit NamedMutex(const std::string &name);
    ~NamedMutex();
    NamedMutex(const NamedMutex &) = delete;
    NamedMutex &operator=(const NamedMutex &) = delete;

    // True when this process now holds the mutex; false when another process holds it or
    // it could not be created.
    bool isHeld() const { return m_held; }

private:
    long long m_handle = -1;
    bool m_held = false;
};

// Whether some process currently holds the mutex of that name. Never creates it.
bool namedMutexExists(const std::string &name);

// Where the Linux build keeps the lock file of a mutex; exposed for tests and tools.
std::string namedMutexLockPath(const std::string &name);

} // namespace platform
