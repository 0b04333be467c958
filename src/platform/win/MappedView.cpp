// Read-only views of files on Windows: a file mapping over the descriptor's handle, closed at once (the
// view keeps it alive).
#include "platform/Host.h"

#include <io.h>
#include <windows.h>

namespace kemptor::host {

const char* MapReadOnly(int fd, std::size_t size) {
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping)
        return nullptr;
    const void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    ::CloseHandle(mapping);
    return static_cast<const char*>(view);
}

void Unmap(const char* data, std::size_t) {
    ::UnmapViewOfFile(data);
}

void AdviseLargePages(void*, std::size_t) {} // large pages need a privilege a user rarely holds

} // namespace kemptor::host
