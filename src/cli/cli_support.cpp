#include "cli/cli_support.h"

#ifndef _WIN32
#include <langinfo.h>
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/tags/directory_reader.h"
#include "core/tags/hex.h"
#include "core/tags/tag_text.h"

namespace tagwarden::cli {

namespace {

bool printsAsItself(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte <= 0x7E && c != '\\';
}

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

void appendEscaped(std::string& out, std::string_view field, bool separatorAsItself)
{
    field = upToNul(field);
    while (!field.empty()) {
        // Plain runs go in whole: a million listed names are mostly plain.
        const auto run = static_cast<std::size_t>(std::find_if_not(field.begin(), field.end(), printsAsItself) -
                                                  field.begin());
        out.append(field.substr(0, run));
        if (run == field.size())
            return;
        const auto byte = static_cast<std::uint8_t>(field[run]);
        if (byte == '\\') {
            out += separatorAsItself && kSeparator == '\\' ? "\\" : "\\\\";
        } else {
            out += "\\x";
            appendHexByte(out, byte);
        }
        field.remove_prefix(run + 1);
    }
}

}  // namespace

void appendPrintable(std::string& out, std::string_view field) { appendEscaped(out, field, false); }

std::string printable(std::string_view field)
{
    std::string text;
    appendPrintable(text, field);
    return text;
}

void appendPrintableMessage(std::string& out, std::string_view text) { appendEscaped(out, text, true); }

std::string printableMessage(std::string_view text)
{
    std::string out;
    appendPrintableMessage(out, text);
    return out;
}

std::string printablePath(std::string_view path)
{
    std::string text;
    for (const char c : path) {
        if (c == '/' || c == kSeparator)
            text += kSeparator;
        else
            appendPrintable(text, std::string_view(&c, 1));
    }
    return text;
}

std::optional<std::string> latin1FromUtf8(std::string_view text, RefusedCharacter& refused)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                                 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        refused = {};
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms are not UTF-8 either.
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length])
            return std::nullopt;
        if (code > 0xFF) {
            refused = {code, text.substr(i, length)};
            return std::nullopt;
        }
        out += static_cast<char>(code);
        i += length;
    }
    return out;
}

namespace {

// Windows hands the arguments over in UTF-16, turned into UTF-8 on the way in.
bool argumentsAreUtf8()
{
#ifdef _WIN32
    return true;
#else
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
#endif
}

}  // namespace

std::string tagTextOfArgument(const std::string& text, const std::string& what)
{
    if (!argumentsAreUtf8())
        return text;
    RefusedCharacter refused;
    std::optional<std::string> latin1 = latin1FromUtf8(text, refused);
    if (latin1)
        return *latin1;
    if (refused.bytes.empty())
        throw CommandError("ERROR - " + what + ": \"" + printable(text) +
                           "\" is not UTF-8 text, the encoding of this terminal");
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(refused.code));
    // The character is shown as typed: it is valid UTF-8, the terminal's own.
    throw CommandError("ERROR - " + what + ": the character \"" + std::string(refused.bytes) + "\" (" + code +
                       ") cannot be stored; tag texts hold Latin-1 characters only (U+0000..U+00FF)");
}

OpenedArchive::OpenedArchive(const std::string& path) : file_(path, File::Access::Read, File::Share::DenyWrite)
{
    if (readDirectory(directory_, file_, nullptr) == ReadOutcome::NoDirectory)
        throw CommandError(kNoDirectoryMessage);
}

std::size_t selectEntry(const TagDirectory& directory, const std::string& selector)
{
    const auto colon = selector.find(':');
    if (colon == std::string::npos) {
        std::size_t index = 0;
        const auto* end = selector.data() + selector.size();
        const auto [ptr, ec] = std::from_chars(selector.data(), end, index);
        if (selector.empty() || ec != std::errc() || ptr != end)
            throw CommandError("ERROR - \"" + printable(selector) + "\" is neither an entry index nor TYPE:ID");
        if (index >= directory.entryCount())
            throw CommandError("ERROR - No entry with index " + printable(selector) + " (the file has " +
                               std::to_string(directory.entryCount()) + " entries)");
        return index;
    }
    const std::string_view typeText = std::string_view(selector).substr(0, colon);
    const std::string_view idText = std::string_view(selector).substr(colon + 1);
    // "mons:abcdef" names no entry, although its first four bytes would match one.
    const std::uint32_t type = codeKey(typeText);
    const std::uint32_t id = codeKey(idText);
    for (std::size_t i = 0; fitsCode(typeText) && fitsCode(idText) && i < directory.entryCount(); ++i)
        if (directory.entryAt(i).typeKey() == type && directory.entryAt(i).idKey() == id)
            return i;
    throw CommandError("ERROR - No entry " + printable(selector) + " in the file");
}

}  // namespace tagwarden::cli
