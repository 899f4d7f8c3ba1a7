#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tagwarden {

// Tag text is bytes; the forms show each byte as the Latin-1 character of that
// value, so every byte 0..255 comes back unchanged.
[[nodiscard]] inline QString latin1Text(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A character beyond Latin-1 (typed by the user) has no byte and becomes '?'.
[[nodiscard]] inline std::string latin1Bytes(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace tagwarden
