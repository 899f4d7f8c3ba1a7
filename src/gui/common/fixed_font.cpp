#include "gui/common/fixed_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

namespace tagwarden {

namespace {

// Narrow and wide glyphs alike, and those the hex and code lists are made of.
constexpr const char* kProbe = "0123456789ABCDEFabcdef iIlW.:-|mM@";

// Families that are fixed-pitch wherever they are installed.
constexpr const char* kCandidates[] = {"DejaVu Sans Mono", "Noto Sans Mono", "Liberation Mono", "Courier New",
                                       "Cousine", "Monospace"};

QFont chooseFixedFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (advancesEvenly(system))
        return system;
    for (const char* family : kCandidates) {
        QFont font(QString::fromLatin1(family), system.pointSize());
        font.setStyleHint(QFont::TypeWriter);
        if (advancesEvenly(font))
            return font;
    }
    for (const QString& family : QFontDatabase::families()) {
        const QFont font(family, system.pointSize());
        if (advancesEvenly(font))
            return font;
    }
    return system;  // nothing better installed: the system's choice at least reads as intended
}

}  // namespace

bool advancesEvenly(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QString probe = QString::fromLatin1(kProbe);
    const qreal width = metrics.horizontalAdvance(probe.front());
    if (width <= 0)
        return false;
    for (const QChar glyph : probe)
        if (!qFuzzyCompare(metrics.horizontalAdvance(glyph), width))
            return false;
    return true;
}

QFont fixedFont()
{
    static const QFont chosen = chooseFixedFont();
    return chosen;
}

}  // namespace tagwarden
