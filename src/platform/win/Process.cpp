// Process ids on Windows.
#include "platform/Host.h"

#include <windows.h>

namespace kemptor::host {

long CurrentProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

bool ProcessHasEnded(long pid) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) // no such process; a process we may not open (access denied) still runs
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

} // namespace kemptor::host
