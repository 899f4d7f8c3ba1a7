#pragma once

#include <QFont>

namespace tagwarden {

// The program's one fixed-pitch font, for every hex dump, code list and data
// line: chosen once, the first of the system's fixed font and the usual monospace
// families whose glyphs all advance alike. Qt's own fixedPitch() flag is not
// asked: it calls some monospace families proportional.
[[nodiscard]] QFont fixedFont();

// Whether the font's digits, letters, blanks and punctuation all advance by the same width.
[[nodiscard]] bool advancesEvenly(const QFont& font);

}  // namespace tagwarden
