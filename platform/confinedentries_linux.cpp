#include "confinedentries.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A folder descriptor that closes itself.
class Folder
{
public:
    explicit Folder(int fd = -1)
        : m_fd(fd)
    {}
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    ~Folder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

std::vector<std::string> partsOf(const std::string &relative)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : relative) {
        if (c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

bool isPlainName(const std::string &name)
{
    return !name.empty() && name != "." && name != "..";
}

enum class Way { Open, Missing, Refused };

// Opens the folder that holds the entry named by relative; leaf receives the entry's name.
Way openParent(const std::string &root, const std::string &relative, Folder *parent,
               std::string *leaf)
{
    const std::vector<std::string> parts = partsOf(relative);
    if (parts.empty())
        return Way::Refused;
    for (const std::string &part : parts) {
        if (!isPlainName(part))
            return Way::Refused;
    }
    parent->reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent->fd() < 0)
        return errno == ENOENT ? Way::Missing : Way::Refused;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(parent->fd(), parts[i].c_str(), kFolderFlags);
        if (next < 0)
            return errno == ENOENT ? Way::Missing : Way::Refused;
        parent->reset(next);
    }
    *leaf = parts.back();
    return Way::Open;
}

EntryKind kindAt(int folder, const std::string &name)
{
    struct stat st;
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? EntryKind::Missing : EntryKind::Other;
    if (S_ISLNK(st.st_mode))
        return EntryKind::SymLink;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Directory;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    return EntryKind::Other;
}

bool removeAt(int folder, const std::string &name, int depth)
{
    const EntryKind kind = kindAt(folder, name);
    if (kind == EntryKind::Missing)
        return true;
    if (kind != EntryKind::Directory)
        return ::unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT;
    if (depth > 256)
        return false;
    // O_NOFOLLOW: a link swapped in for the folder since the look above is refused here.
    const int fd = ::openat(folder, name.c_str(), kFolderFlags);
    if (fd < 0)
        return false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    std::vector<std::string> names;
    while (dirent *entry = ::readdir(dir)) {
        const std::string child = entry->d_name;
        if (child != "." && child != "..")
            names.push_back(child);
    }
    bool ok = true;
    for (const std::string &child : names)
        ok = removeAt(::dirfd(dir), child, depth + 1) && ok;
    ::closedir(dir);
    return ok && (::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT);
}

} // namespace

EntryKind entryKindBelow(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    switch (openParent(root, relative, &parent, &leaf)) {
    case Way::Missing:
        return EntryKind::Missing;
    case Way::Refused:
        return EntryKind::Other;
    case Way::Open:
        break;
    }
    return kindAt(parent.fd(), leaf);
}

bool passesThroughLink(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    return openParent(root, relative, &parent, &leaf) == Way::Refused;
}

bool removeEntryBelow(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    const Way way = openParent(root, relative, &parent, &leaf);
    if (way != Way::Open)
        return way == Way::Missing;
    const EntryKind kind = kindAt(parent.fd(), leaf);
    if (kind == EntryKind::Missing)
        return true;
    return kind != EntryKind::Directory && ::unlinkat(parent.fd(), leaf.c_str(), 0) == 0;
}

bool removeFolderBelow(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    const Way way = openParent(root, relative, &parent, &leaf);
    if (way != Way::Open)
        return way == Way::Missing;
    const EntryKind kind = kindAt(parent.fd(), leaf);
    if (kind == EntryKind::Missing)
        return true;
    return kind == EntryKind::Directory && ::unlinkat(parent.fd(), leaf.c_str(), AT_REMOVEDIR) == 0;
}

bool removeTreeBelow(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    const Way way = openParent(root, relative, &parent, &leaf);
    if (way != Way::Open)
        return way == Way::Missing;
    return removeAt(parent.fd(), leaf, 0);
}

bool makeFolderBelow(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    return openParent(root, relative, &parent, &leaf) == Way::Open &&
           ::mkdirat(parent.fd(), leaf.c_str(), 0777) == 0;
}

bool createSymLinkBelow(const std::string &root, const std::string &relative,
                        const std::string &text)
{
    Folder parent;
    std::string leaf;
    return openParent(root, relative, &parent, &leaf) == Way::Open &&
           ::symlinkat(text.c_str(), parent.fd(), leaf.c_str()) == 0;
}

bool replaceEntryBelow(const std::string &root, const std::string &from, const std::string &to)
{
    Folder parent;
    std::string leaf;
    std::string fromLeaf;
    const size_t slash = to.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : to.substr(0, slash);
    // Both names in one folder, entered once: the rename cannot leave it.
    if (from.rfind('/') != slash || from.compare(0, folder.size(), folder) != 0)
        return false;
    if (openParent(root, to, &parent, &leaf) != Way::Open)
        return false;
    fromLeaf = from.substr(slash == std::string::npos ? 0 : slash + 1);
    return isPlainName(fromLeaf) && kindAt(parent.fd(), leaf) != EntryKind::Directory &&
           ::renameat(parent.fd(), fromLeaf.c_str(), parent.fd(), leaf.c_str()) == 0;
}

bool syncFolderBelow(const std::string &root, const std::string &relative)
{
    if (partsOf(relative).empty()) {
        const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool ok = ::fsync(fd) == 0;
        ::close(fd);
        return ok;
    }
    Folder parent;
    std::string leaf;
    if (openParent(root, relative, &parent, &leaf) != Way::Open)
        return false;
    const int fd = ::openat(parent.fd(), leaf.c_str(), kFolderFlags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

NewFileBelow::~NewFileBelow()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

bool NewFileBelow::create(const std::string &root, const std::string &relative)
{
    Folder parent;
    std::string leaf;
    if (m_handle >= 0 || openParent(root, relative, &parent, &leaf) != Way::Open)
        return false;
    // Read and write: a tracer of flushes reads what each one made durable through it.
    m_handle = ::openat(parent.fd(), leaf.c_str(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return m_handle >= 0;
}

bool NewFileBelow::write(const void *data, std::size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(static_cast<int>(m_handle), bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool NewFileBelow::finish(int posixMode)
{
    const int fd = static_cast<int>(m_handle);
    m_handle = -1;
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, static_cast<mode_t>(posixMode & 0777)) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool appendToFileBelow(const std::string &root, const std::string &relative, const void *data,
                       std::size_t size)
{
    Folder parent;
    std::string leaf;
    if (openParent(root, relative, &parent, &leaf) != Way::Open)
        return false;
    // Read and write, like a new file, for a tracer of flushes.
    const int fd = ::openat(parent.fd(), leaf.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const char *bytes = static_cast<const char *>(data);
    while (ok && size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            bytes += n;
            size -= static_cast<size_t>(n);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool removeTree(const std::string &path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return removeTreeBelow(".", trimmed);
    return removeTreeBelow(slash == 0 ? "/" : trimmed.substr(0, slash), trimmed.substr(slash + 1));
}

} // namespace platform
