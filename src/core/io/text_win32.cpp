#include "core/io/text_win32.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace tagwarden {

namespace {

// Past this length a path needs its long form; a folder's limit is 12 shorter than a file's.
constexpr std::size_t kShortPathLimit = MAX_PATH - 12;

}  // namespace

std::wstring wideFrom(const std::string& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (needed <= 0) {
        std::wstring latin1;
        for (const char byte : text)
            latin1 += static_cast<wchar_t>(static_cast<unsigned char>(byte));
        return latin1;
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), needed);
    return wide;
}

std::string utf8From(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

std::wstring systemPath(const std::string& path)
{
    std::wstring wide = wideFrom(path);
    if (wide.size() < kShortPathLimit || wide.starts_with(L"\\\\?\\"))
        return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return wide;  // the call that uses it says what is wrong
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace tagwarden
