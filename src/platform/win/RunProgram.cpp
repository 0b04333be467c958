// Running another program on Windows: CreateProcessW with its output read through a pipe.
#include "platform/Host.h"

#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

namespace {

// One argument quoted the way the C runtime's command-line parser splits it again: backslashes are
// literal except before a quote, where they and the quote are escaped.
std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// This process's environment block less the variables named in `unset`.
std::wstring EnvironmentWithout(const std::vector<std::string>& unset) {
    std::wstring block;
    LPWCH strings = ::GetEnvironmentStringsW();
    for (LPWCH at = strings; at && *at; at += wcslen(at) + 1) {
        const std::wstring entry(at);
        bool dropped = false;
        for (const std::string& name : unset) {
            const std::wstring prefix = Widen(name) + L"=";
            dropped = dropped ||
                      ::CompareStringOrdinal(entry.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                             static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        }
        if (!dropped)
            block += entry + L'\0';
    }
    if (strings)
        ::FreeEnvironmentStringsW(strings);
    block += L'\0';
    return block;
}

} // namespace

std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& args, const std::string& workDir,
                                        const std::vector<std::string>& unset) {
    if (args.empty())
        return std::nullopt;
    std::wstring commandLine;
    for (const std::string& a : args)
        commandLine += (commandLine.empty() ? L"" : L" ") + QuoteArgument(Widen(a));

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::nullopt;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE null = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null;
    startup.hStdOutput = writeEnd;
    startup.hStdError = null;
    PROCESS_INFORMATION process{};
    std::wstring environment = EnvironmentWithout(unset);
    const std::wstring dir = Widen(workDir);
    const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                          CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                                          dir.empty() ? nullptr : dir.c_str(), &startup, &process);
    ::CloseHandle(writeEnd);
    if (null != INVALID_HANDLE_VALUE)
        ::CloseHandle(null);
    if (!started) {
        ::CloseHandle(readEnd);
        return std::nullopt;
    }
    ProgramOutput result;
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        result.output.append(buffer, n);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    result.exitCode = ::GetExitCodeProcess(process.hProcess, &code) ? static_cast<int>(code) : -1;
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return result;
}

} // namespace kemptor::host
