#pragma once
// File systems of the kernel (proc, sysfs, devtmpfs, ...): their contents are
// no data to back up, some never end, and reading some has side effects.

namespace tarvendo {

// Whether the open directory fd lies on such a file system. Decided by the
// statfs magic; devtmpfs shares tmpfs's, so a tmpfs is looked up in the
// mount table.
[[nodiscard]] bool ist_pseudodateisystem(int fd);

}  // namespace tarvendo
