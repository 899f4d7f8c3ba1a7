#include "gui/app/about_dialog.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Resources of a static library are registered by hand, outside any namespace.
static void registerResources() { Q_INIT_RESOURCE(tagwarden); }

namespace tagwarden {

QIcon programIcon()
{
    static const bool registered = (registerResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/tagwarden/tagwarden.png"));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("about_dialog"));
    setWindowTitle(QStringLiteral("About Tagwarden"));

    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Tagwarden Version ") + QString::fromLatin1(kVersion), this);
    version->setObjectName(QStringLiteral("version_label"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok_button"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(version, 1, Qt::AlignTop);
    layout->addWidget(ok, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tagwarden
