#include "gui/app/qt_prompter.h"

#include <QAbstractButton>
#include <QDir>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStringDecoder>

#include <filesystem>

namespace tagwarden {

namespace {

QWidget* ownerWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Runs `dialog` modal to its own window only, so that the other windows stay
// usable, and gives that window the keyboard back afterwards: a window manager may
// hand it to another window when the dialog closes.
int execOverOwner(QDialog& dialog)
{
    const QPointer<QWidget> owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (owner)
        dialog.setWindowModality(Qt::WindowModal);
    const int result = dialog.exec();
    if (owner && owner->isVisible())
        owner->activateWindow();
    return result;
}

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons standardButtons(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case Prompter::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Prompter::Answer answerOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Save:
        return Prompter::Answer::Save;
    case QMessageBox::Discard:
        return Prompter::Answer::Discard;
    default:
        return Prompter::Answer::Cancel;
    }
}

QString qtPatterns(QString patterns)
{
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
#ifndef _WIN32
    patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
#endif
    return patterns;
}

QString nameFilter(const QString& label, const QString& classicPatterns)
{
    const QString bracketed = QLatin1Char('(') + classicPatterns + QLatin1Char(')');
    const QString patterns = QLatin1Char('(') + qtPatterns(classicPatterns) + QLatin1Char(')');
    if (label.endsWith(bracketed))
        return label.left(label.size() - bracketed.size()) + patterns;
    return label + QLatin1Char(' ') + patterns;
}

// Shows the proposed file: the first filter that lets its name through, so a
// plug-in's name (no ".gor") shows it and its neighbours under "Plug-Ins".
void selectFilterOf(QFileDialog& dialog, const QString& fileName)
{
    for (const QString& filter : dialog.nameFilters()) {
        const QString patterns = filter.section(QLatin1Char('('), -1).chopped(1);
        if (QDir::match(patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts), fileName)) {
            dialog.selectNameFilter(filter);
            return;
        }
    }
}

// A folder dialog starts in the proposed folder, or in the nearest one above it that exists.
void startIn(QFileDialog& dialog, const std::string& proposed)
{
    std::filesystem::path folder(proposed);
    std::error_code error;
    while (!std::filesystem::is_directory(folder, error) && folder.has_relative_path())
        folder = folder.parent_path();
    dialog.setDirectory(QString::fromLocal8Bit(folder.string()));
}

// Messages mix tag text (8-bit bytes) with file paths (UTF-8 here): a text that is
// valid UTF-8 is shown as such, so paths read right; any other is shown byte for byte.
QString messageText(const std::string& text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return utf8.hasError() ? QString::fromLatin1(text) : decoded;
}

}  // namespace

QStringList QtPrompter::nameFilters(const std::string& classicFilter)
{
    const QStringList parts = QString::fromLatin1(classicFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;  // the "||" that ends the list
        filters << nameFilter(parts[i], parts[i + 1]);
    }
    return filters;
}

Prompter::Answer QtPrompter::message(const std::string& text, Buttons buttons, Icon icon, const std::string& caption)
{
    QMessageBox box(boxIcon(icon), messageText(caption), messageText(text), standardButtons(buttons), ownerWindow());
    box.setObjectName(QStringLiteral("message_box"));
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::SaveDiscardCancel) {
        // Our own words on every platform: some themes call Discard "Close without Saving".
        box.button(QMessageBox::Save)->setText(QStringLiteral("Save"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("Discard"));
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return answerOf(static_cast<QMessageBox::StandardButton>(execOverOwner(box)));
}

std::optional<std::string> QtPrompter::chooseFile(const FileRequest& request)
{
    const bool save = request.kind == FileRequest::Kind::Save;
    QFileDialog dialog(ownerWindow());
    dialog.setObjectName(QStringLiteral("file_dialog"));
    if (!request.title.empty())
        dialog.setWindowTitle(QString::fromLatin1(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks for itself when it means to replace a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(nameFilters(request.filter));
    if (request.kind == FileRequest::Kind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        startIn(dialog, request.initialName);
    } else if (!request.initialName.empty()) {
        const QFileInfo initial(QString::fromLocal8Bit(request.initialName));
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
        selectFilterOf(dialog, initial.fileName());
    }
    if (execOverOwner(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toLocal8Bit().toStdString();
}

}  // namespace tagwarden
