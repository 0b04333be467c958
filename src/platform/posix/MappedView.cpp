// Read-only views of files on POSIX systems.
#include "platform/Host.h"

#include <sys/mman.h>

namespace kemptor::host {

const char* MapReadOnly(int fd, std::size_t size) {
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    return at == MAP_FAILED ? nullptr : static_cast<const char*>(at);
}

void Unmap(const char* data, std::size_t size) {
    ::munmap(const_cast<char*>(data), size);
}

} // namespace kemptor::host
