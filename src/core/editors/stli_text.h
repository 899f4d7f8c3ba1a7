#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>


namespace tagwarden {

// A string list is single-byte text in which a carriage return ends a line. Its
// editor shows it as text, each carriage return followed by a line feed, beside a
// hex view of the same bytes; edited text is stored without line feeds.

// The text view of the data as read: zero bytes add nothing, and a line feed
// follows every carriage return but a final one.
[[nodiscard]] std::string stliLoadText(std::span<const std::uint8_t> data);
// The hex view of the data as read: "41 42 0D\r\n43 " (a line break instead of the
// blank after every carriage return but a final one).
[[nodiscard]] std::string stliLoadHex(std::span<const std::uint8_t> data);

// What an edit of the text view leaves: the bytes to save, and both views again.
struct StliRebuild {
    std::vector<std::uint8_t> bytes;  // the text without its line feeds, one byte per character
    std::string text;                 // the bytes with a line feed after every carriage return but a final one
    std::string hex;                  // "41 42 0D \r\n43 ": a line break after the blank of every such carriage return
};
[[nodiscard]] StliRebuild rebuildStli(std::string_view editedText);

// What the first edit of the text drops of the data as read: its zero bytes, which
// the text view does not show, and its line feeds, which edited text never holds.
struct StliDrops {
    std::size_t zeroBytes = 0;
    std::size_t lineFeeds = 0;

    [[nodiscard]] bool any() const { return zeroBytes + lineFeeds > 0; }
    bool operator==(const StliDrops&) const = default;
};
[[nodiscard]] StliDrops stliEditDrops(std::span<const std::uint8_t> data);
// "2 zero bytes and 1 line feed", "1 zero byte", "3 line feeds".
[[nodiscard]] std::string dropsText(const StliDrops& drops);
// The warning before such a save: "Saving this edit drops 1 zero byte that the list held."
[[nodiscard]] std::string stliDropsMessage(const StliDrops& drops);

// What a save that could not be written says.
inline constexpr const char* kStliWriteFailedMessage = "Write Failed";

// The strings as lines of a text file: the text view's text, each carriage return
// (a final one too) a line end "\n"; zero bytes add nothing, line feeds stay.
[[nodiscard]] std::string stliLines(std::span<const std::uint8_t> data);
// Lines of a text file as the list stores them: every line end ("\r\n", "\r" or
// "\n") is a carriage return, as pressing Enter in the text view stores one.
[[nodiscard]] std::vector<std::uint8_t> stliFromLines(std::string_view text);

}  // namespace tagwarden
