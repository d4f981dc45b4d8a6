#pragma once

#include <QByteArray>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

// Read-only files mean nothing to root, and the CI runs as root: while this scope lives the
// process acts as "nobody" (saved uid kept, so the destructor can come back).
class Unprivileged
{
public:
    static constexpr uid_t kNobody = 65534;

    Unprivileged()
    {
        if (geteuid() != 0)
            return;
        m_dropped = setresgid(kNobody, kNobody, 0) == 0 && setresuid(kNobody, kNobody, 0) == 0;
    }
    ~Unprivileged()
    {
        if (m_dropped) {
            (void)setresuid(0, 0, 0);
            (void)setresgid(0, 0, 0);
        }
    }
    // False when the process is still root, so permission checks would not bite.
    bool isEffective() const { return geteuid() != 0; }

    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

    // Hands a path to the user the scope runs as, with the given mode.
    static bool prepare(const QString &path, mode_t mode)
    {
        const QByteArray native = QFile::encodeName(path);
        if (geteuid() == 0 && ::chown(native.constData(), kNobody, kNobody) != 0)
            return false;
        return ::chmod(native.constData(), mode) == 0;
    }

private:
    bool m_dropped = false;
};
