#include "gui/compare/compare_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <new>

#include "core/compare/file_comparison.h"
#include "core/io/file_error.h"
#include "core/prompt/prompter.h"
#include "core/tags/tag_text.h"
#include "gui/app/browser_dialog.h"
#include "gui/common/fixed_font.h"
#include "gui/common/latin1_text.h"

namespace tagwarden {

namespace {

std::string upToNulText(std::string_view text) { return std::string(upToNul(text)); }

// The archive the main window holds open: nobody else may open it meanwhile.
const ByteSource* heldArchive()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<BrowserDialog*>(window))
            return main->openFile();
    return nullptr;
}

std::string summaryOf(const std::string& plugIn, const FileComparison& compared)
{
    const std::string sides = plugIn + "\ncompared with " + compared.beforePath + ": ";
    const Comparison& comparison = *compared.comparison;
    if (comparison.equal())
        return sides + "no differences.";
    const std::size_t count = comparison.differences.size();
    return sides + std::to_string(count) + (count == 1 ? " difference" : " differences") + " (" +
           comparisonKindName(comparison.kind) + ").";
}

}  // namespace

CompareDialog::CompareDialog(const std::string& plugInPath, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("compare_dialog"));
    setWindowTitle(QStringLiteral("Compare with Archive - ") +
                   latin1Text(std::filesystem::path(plugInPath).filename().string()) + QStringLiteral(" - ") +
                   QString::fromLatin1(Prompter::kApplicationName));

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    differences_ = new QPlainTextEdit(this);
    differences_->setObjectName(QStringLiteral("differences"));
    differences_->setAccessibleName(QStringLiteral("Differences"));
    differences_->setReadOnly(true);
    differences_->setLineWrapMode(QPlainTextEdit::NoWrap);
    differences_->setFont(fixedFont());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("close_button"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(differences_, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics(differences_->font());
    resize(metrics.horizontalAdvance(QLatin1Char('0')) * 100, metrics.lineSpacing() * 24);
    compare(plugInPath);
}

void CompareDialog::compare(const std::string& plugInPath)
{
    try {
        const FileComparison compared = compareWithArchive(plugInPath, heldArchive());
        if (!compared.comparison) {
            summary_->setText(latin1Text(compared.problem));
            return;
        }
        summary_->setText(latin1Text(summaryOf(plugInPath, compared)));
        QStringList lines;
        for (const Difference& difference : compared.comparison->differences)
            lines << latin1Text(differenceLine(difference, compared.comparison->kind, upToNulText));
        differences_->setPlainText(lines.join(QLatin1Char('\n')));
    } catch (const FileError& error) {
        summary_->setText(latin1Text(error.what()));
    } catch (const std::bad_alloc&) {
        summary_->setText(QStringLiteral("ERROR - Not enough memory for this file"));
    }
}

CompareDialog* CompareDialog::showFor(const std::string& plugInPath, QWidget* parent)
{
    for (auto* shown : parent->findChildren<CompareDialog*>(Qt::FindDirectChildrenOnly))
        shown->close();
    auto* dialog = new CompareDialog(plugInPath, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void addCompareAction(QWidget& form, std::function<std::string()> path)
{
    auto* action = new QAction(QStringLiteral("Compare with Archive"), &form);
    action->setObjectName(QStringLiteral("compare_action"));
    QObject::connect(action, &QAction::triggered, &form, [&form, path = std::move(path)] {
        CompareDialog::showFor(path(), &form);
    });
    form.addAction(action);
    form.setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString CompareDialog::summary() const { return summary_->text(); }

QString CompareDialog::differences() const { return differences_->toPlainText(); }

}  // namespace tagwarden
