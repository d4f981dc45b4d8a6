#pragma once

namespace platform {

// Reserves disk space for the first `size` bytes of an open file (`fd` as given by
// QFile::handle()), so that a full disk is reported now instead of in the middle of a transfer.
// Returns 0, or the system's error number (ENOSPC, EFBIG...).
int reserveFileSpace(int fd, long long size);

} // namespace platform
