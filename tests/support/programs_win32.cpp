// Starting other programs on Windows: the command line, its output, and the
// file holder.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <stdexcept>

#include "core/io/text_win32.h"
#include "support/holding_program_win32.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tagwarden::test {

namespace {

// One argument as the program's CommandLineToArgvW will read it back.
std::wstring quoted(const std::string& argument)
{
    const std::wstring wide = wideFrom(argument);
    if (!wide.empty() && wide.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return wide;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : wide) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes double only before a quote, which is then escaped itself.
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

std::wstring commandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::wstring line = quoted(program);
    for (const std::string& argument : arguments)
        line += L" " + quoted(argument);
    return line;
}

HANDLE inheritedFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file = CreateFileW(wideFrom(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    return file;
}

PROCESS_INFORMATION start(const std::string& program, const std::vector<std::string>& arguments, HANDLE in,
                          HANDLE out, HANDLE err)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring line = commandLine(program, arguments);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + program);
    CloseHandle(process.hThread);
    return process;
}

std::string slurp(const std::string& path)
{
    const Bytes bytes = readAll(path);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

CommandResult runCommand(const std::string& program, const std::vector<std::string>& arguments)
{
    TempDir scratch;
    const std::string outPath = scratch.file("out");
    const std::string errPath = scratch.file("err");
    const HANDLE out = inheritedFile(outPath);
    const HANDLE err = inheritedFile(errPath);
    const PROCESS_INFORMATION process = start(program, arguments, nullptr, out, err);
    CloseHandle(out);
    CloseHandle(err);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return {static_cast<int>(code), slurp(outPath), slurp(errPath)};
}

HoldingProgram::HoldingProgram(const std::string& path, const std::string& how)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE programIn = nullptr;
    HANDLE toProgram = nullptr;
    HANDLE fromProgram = nullptr;
    HANDLE programOut = nullptr;
    if (!CreatePipe(&programIn, &toProgram, &inherit, 0) || !CreatePipe(&fromProgram, &programOut, &inherit, 0))
        throw std::runtime_error("pipe failed");
    // Only the program's own ends are inherited, so that it sees this side go.
    SetHandleInformation(toProgram, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromProgram, HANDLE_FLAG_INHERIT, 0);
    const PROCESS_INFORMATION process = start(TAGWARDEN_SHARE_HOLDER, {path, how}, programIn, programOut, programOut);
    CloseHandle(programIn);
    CloseHandle(programOut);
    process_ = process.hProcess;
    toProgram_ = toProgram;
    char report = '?';
    DWORD got = 0;
    holds_ = ReadFile(fromProgram, &report, 1, &got, nullptr) && got == 1 && report == 'R';
    CloseHandle(fromProgram);
}

HoldingProgram::~HoldingProgram()
{
    CloseHandle(toProgram_);  // the program's stdin ends: it lets go and exits
    WaitForSingleObject(process_, INFINITE);
    CloseHandle(process_);
}

}  // namespace tagwarden::test
