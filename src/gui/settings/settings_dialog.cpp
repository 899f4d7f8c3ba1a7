#include "gui/settings/settings_dialog.h"

#include <filesystem>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/prompt/prompter.h"
#include "core/settings/tags_locator.h"
#include "gui/common/dialog_controls.h"
#include "gui/common/tab_order.h"

namespace tagwarden {

namespace {

QString pathText(const std::string& path) { return QString::fromLocal8Bit(path); }
std::string pathBytes(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace

SettingsDialog::SettingsDialog(SettingsStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter)
{
    setObjectName(QStringLiteral("settings_dialog"));
    setWindowTitle(QStringLiteral("Tagwarden Settings"));
    buildControls();
}

void SettingsDialog::buildControls()
{
    auto* ok = dialogButton(QStringLiteral("OK"), "ok_button", this);
    ok->setDefault(true);
    auto* cancel = dialogButton(QStringLiteral("Cancel"), "cancel_button", this);
    tagsEdit_ = new QLineEdit(this);
    tagsEdit_->setObjectName(QStringLiteral("tags_directory_edit"));
    tagsEdit_->setMinimumWidth(tagsEdit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    backupEdit_ = new QLineEdit(this);
    backupEdit_->setObjectName(QStringLiteral("backup_directory_edit"));
    tagsEdit_->setAccessibleName(QStringLiteral("Vorn Tags Directory"));
    backupEdit_->setAccessibleName(QStringLiteral("Backup Directory"));
    auto* browse = dialogButton(QStringLiteral("Browse"), "browse_button", this);

    auto* options = new QGroupBox(QStringLiteral("&Options:"), this);
    allowMods_ = dialogCheckBox(QStringLiteral("Allow Standard Item Patches"), "allow_mods_check", options, false);
    // Editors keep the oldest original in the backup directory unless this allows replacing it.
    allowOverwrites_ =
        dialogCheckBox(QStringLiteral("Allow Overwrites in Backup Directory"), "allow_overwrites_check", options, true);
    asciiDisplay_ = dialogCheckBox(QStringLiteral("ASCII/Hex Object Data Display"), "ascii_display_check", options, true);
    auto* otherOption = dialogCheckBox(QStringLiteral("Some Other Option"), "other_option_check", options, false);
    auto* restore = dialogButton(QStringLiteral("Restore Original Game"), "restore_button", options, false);
    auto* uninstall = dialogButton(QStringLiteral("Uninstall Tagwarden"), "uninstall_button", options, false);

    auto* optionLayout = new QGridLayout(options);
    optionLayout->addWidget(allowMods_, 0, 0);
    optionLayout->addWidget(allowOverwrites_, 1, 0);
    optionLayout->addWidget(asciiDisplay_, 2, 0);
    optionLayout->addWidget(otherOption, 3, 0);
    optionLayout->addWidget(restore, 0, 1);
    optionLayout->addWidget(uninstall, 1, 1);

    auto* tagsRow = new QHBoxLayout;
    tagsRow->addWidget(tagsEdit_);
    tagsRow->addWidget(browse);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* fields = new QVBoxLayout;
    fields->addWidget(
        new QLabel(QStringLiteral("Vorn Tags Directory:  (Directory that contains the tags.gor file)"), this));
    fields->addLayout(tagsRow);
    fields->addWidget(new QLabel(QStringLiteral("Backup Directory:"), this));
    fields->addWidget(backupEdit_);
    fields->addWidget(options);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    chainTabOrder({ok, cancel, tagsEdit_, backupEdit_, browse, allowMods_, allowOverwrites_, asciiDisplay_});
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SettingsDialog::reject);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::onBrowse);
}

void SettingsDialog::initialiseSettings()
{
    if (loadSettings())
        return;
    values_ = firstStartSettings(homeDirectory());
    saveSettings();
    exec();
}

bool SettingsDialog::loadSettings() { return tagwarden::loadSettings(values_, store_); }

void SettingsDialog::saveSettings() { tagwarden::saveSettings(values_, store_); }

std::string SettingsDialog::getTagsDirectory() { return tagwarden::getTagsDirectory(values_.tagsDirectory); }

void SettingsDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        toForm();
    QDialog::showEvent(event);
}

void SettingsDialog::toForm()
{
    tagsEdit_->setText(pathText(values_.tagsDirectory));
    backupEdit_->setText(pathText(values_.backupDirectory));
    asciiDisplay_->setChecked(values_.asciiDisplay != 0);
    allowMods_->setChecked(values_.allowMods != 0);
    allowOverwrites_->setChecked(values_.allowOverwrites != 0);
}

void SettingsDialog::fromForm()
{
    values_.backupDirectory = pathBytes(backupEdit_->text());
    values_.tagsDirectory = pathBytes(tagsEdit_->text());
    values_.asciiDisplay = asciiDisplay_->isChecked() ? 1 : 0;
    values_.allowMods = allowMods_->isChecked() ? 1 : 0;
    values_.allowOverwrites = allowOverwrites_->isChecked() ? 1 : 0;
}

void SettingsDialog::accept()
{
    if (!confirmTagsDirectory())
        return;
    fromForm();
    QDialog::accept();
    saveSettings();
}

bool SettingsDialog::confirmTagsDirectory()
{
    const std::string folder = pathBytes(tagsEdit_->text());
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error))
        return true;
    // A folder on a drive not mounted yet may be meant: the user decides.
    if (prompter_.message("The tags directory\n" + folder +
                              "\ndoes not exist. Keep it anyway?\n\nClick on OK to keep it or Cancel to change it.",
                          Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation) == Prompter::Answer::Ok)
        return true;
    tagsEdit_->setFocus();
    tagsEdit_->selectAll();
    return false;
}

void SettingsDialog::onBrowse()
{
    Prompter::FileRequest request;
    request.title = tags_locator::kTitle;
    request.initialName = tags_locator::initialName(pathBytes(tagsEdit_->text()));
    request.filter = tags_locator::kFilter;
    request.mustExist = false;
    const std::optional<std::string> chosen = prompter_.chooseFile(request);
    if (!chosen)
        return;
    const std::string folder = tags_locator::folderOf(*chosen);
    if (!tags_locator::holdsTagsGor(folder) &&
        prompter_.message(tags_locator::missingText(folder), Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation,
                          tags_locator::kMissingCaption) == Prompter::Answer::Cancel)
        return;
    tagsEdit_->setText(pathText(folder));
    backupEdit_->setText(pathText(tags_locator::backupFolder(folder)));
}

}  // namespace tagwarden
