// share_holder PATH HOW: opens PATH, writes "R" to stdout once it holds it (or
// "F" and the reason), and keeps it open until its stdin ends. HOW is
// ACCESS:SHARE as the program itself opens files (read, readwrite or write;
// none, denywrite or all), or "foreign": reading and writing shared, deletion not.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "core/io/file.h"
#include "core/io/text_win32.h"

namespace {

using tagwarden::File;

void waitForEndOfInput()
{
    char byte = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got == 1) {
    }
}

int report(const char* what)
{
    std::fputs(what, stdout);
    std::fflush(stdout);
    return what[0] == 'R' ? 0 : 1;
}

int holdForeign(const std::string& path)
{
    const HANDLE file = CreateFileW(tagwarden::systemPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return report("F cannot open\n");
    report("R\n");
    waitForEndOfInput();
    CloseHandle(file);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return report("F usage: share_holder PATH HOW\n");
    const std::string path = argv[1];
    const std::string how = argv[2];
    if (how == "foreign")
        return holdForeign(path);
    const std::map<std::string, File::Access> accesses{
        {"read", File::Access::Read}, {"readwrite", File::Access::ReadWrite}, {"write", File::Access::Write}};
    const std::map<std::string, File::Share> shares{
        {"none", File::Share::None}, {"denywrite", File::Share::DenyWrite}, {"all", File::Share::All}};
    const auto colon = how.find(':');
    const auto access = accesses.find(how.substr(0, colon));
    const auto share = colon == std::string::npos ? shares.end() : shares.find(how.substr(colon + 1));
    if (access == accesses.end() || share == shares.end())
        return report("F unknown HOW\n");
    try {
        File held(path, access->second, share->second);
        report("R\n");
        waitForEndOfInput();
    } catch (const tagwarden::FileError& error) {
        return report(("F " + std::string(error.what()) + "\n").c_str());
    }
    return 0;
}
