#include "platform/win/Utf16.h"

#include <windows.h>

namespace kemptor::host {

namespace {

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

} // namespace

std::wstring Widen(std::string_view text) {
    std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    if (wide.empty() && !text.empty())
        wide = ToWide(CP_ACP, 0, text);
    return wide;
}

std::string Narrow(std::wstring_view text) {
    return FromWide(CP_UTF8, text);
}

std::string NarrowAnsi(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}

std::wstring SystemPath(const std::string& hostPath) {
    std::wstring path = Widen(hostPath);
    // Room is left for a file name that a directory path gets appended (a temporary, a "\*" pattern).
    constexpr size_t kClassicLimit = MAX_PATH - 60;
    if (path.size() < kClassicLimit || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
        return path;
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    if (full.rfind(L"\\\\", 0) == 0) // \\server\share\...
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace kemptor::host
