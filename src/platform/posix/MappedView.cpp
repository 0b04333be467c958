// Read-only views of files on POSIX systems.
#include "platform/Host.h"

#include <sys/mman.h>

#include <cstdint>

namespace kemptor::host {

const char* MapReadOnly(int fd, std::size_t size) {
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    return at == MAP_FAILED ? nullptr : static_cast<const char*>(at);
}

void Unmap(const char* data, std::size_t size) {
    ::munmap(const_cast<char*>(data), size);
}

void AdviseLargePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kLargePage - 1) & ~(kLargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kLargePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE); // advice: a refusal changes nothing
#else
    (void)data;
    (void)size;
#endif
}

} // namespace kemptor::host
