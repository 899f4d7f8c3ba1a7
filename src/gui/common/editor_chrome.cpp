#include "gui/common/editor_chrome.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QUndoStack>
#include <algorithm>

#include "gui/common/dialog_controls.h"

namespace tagwarden {

namespace {

bool isUndoKey(const QKeyEvent& key)
{
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
           key.keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

QAction* addShortcutAction(QDialog& form, const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, &form);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    form.addAction(action);
    return action;
}

}  // namespace

QString editorTitle(const char* title, const std::string& path, bool modified)
{
    const QString name = QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName();
    if (name.isEmpty())
        return QString::fromLatin1(title);
    return name + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") + QString::fromLatin1(title);
}

EditorChrome::EditorChrome(QDialog& form, QUndoStack& stack, const char* title, std::function<void()> save)
    : QObject(&form), form_(form), stack_(stack), title_(title)
{
    QAction* undo = addShortcutAction(form, tr("Undo"), {QKeySequence::Undo});
    QAction* redo = addShortcutAction(form, tr("Redo"),
                                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QAction* saveAction = addShortcutAction(form, tr("Save"), {QKeySequence::Save});
    const auto undoStep = [this] { unlessHeld([this] { stack_.undo(); }); };
    const auto redoStep = [this] { unlessHeld([this] { stack_.redo(); }); };
    connect(undo, &QAction::triggered, this, undoStep);
    connect(redo, &QAction::triggered, this, redoStep);
    connect(saveAction, &QAction::triggered, this, [this, save = std::move(save)] { unlessHeld(save); });
    form.setContextMenuPolicy(Qt::ActionsContextMenu);

    undo_ = dialogButton(tr("Undo"), "undoButton");
    redo_ = dialogButton(tr("Redo"), "redoButton");
    connect(undo_, &QPushButton::clicked, this, undoStep);
    connect(redo_, &QPushButton::clicked, this, redoStep);
    const auto follow = [undo, redo, this] {
        undo->setEnabled(stack_.canUndo());
        redo->setEnabled(stack_.canRedo());
        undo_->setEnabled(stack_.canUndo());
        redo_->setEnabled(stack_.canRedo());
    };
    connect(&stack, &QUndoStack::canUndoChanged, this, follow);
    connect(&stack, &QUndoStack::canRedoChanged, this, follow);
    connect(&stack, &QUndoStack::cleanChanged, this, &EditorChrome::showTitle);
    follow();
    takeUndoKeysOf(form);
    showTitle();
}

void EditorChrome::setFilePath(const std::string& path)
{
    path_ = path;
    showTitle();
}

void EditorChrome::holdWhile(std::function<bool()> busy) { busy_ = std::move(busy); }

void EditorChrome::unlessHeld(const std::function<void()>& step) const
{
    if (!busy_ || !busy_())
        step();
}

void EditorChrome::showTitle() { form_.setWindowTitle(editorTitle(title_, path_, !stack_.isClean())); }

void EditorChrome::takeUndoKeysOf(QWidget& field)
{
    field.installEventFilter(this);
    for (QWidget* child : field.findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool EditorChrome::eventFilter(QObject* watched, QEvent* event)
{
    // A text field would take the undo keys for its own undo; left unanswered,
    // they reach the form's shortcuts instead.
    if (event->type() == QEvent::ShortcutOverride && isUndoKey(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

Prompter::Answer askAboutUnsavedWork(Prompter& prompter, const char* kind, const std::string& path)
{
    const std::string text = std::string("The ") + kind + " editor holds changes to\n" + path +
                             "\nthat are not saved yet.\n\nSave them before the editor closes?";
    return prompter.message(text, Prompter::Buttons::SaveDiscardCancel, Prompter::Icon::Exclamation);
}

bool raiseRunningDialog()
{
    QWidget* running = QApplication::activeModalWidget();
    if (!running)
        return false;
    running->raise();
    running->activateWindow();
    return true;
}

bool raiseRunningDialogOver(const QList<const QWidget*>& windows)
{
    const auto over = [&windows](const QWidget* dialog) {
        if (!dialog || !dialog->isVisible() || !dialog->isModal())
            return false;
        for (const QWidget* owner = dialog->parentWidget(); owner; owner = owner->parentWidget())
            if (windows.contains(owner))
                return true;
        return false;
    };
    QWidget* running = QApplication::activeModalWidget();
    if (!over(running)) {
        const QWidgetList all = QApplication::topLevelWidgets();
        const auto found = std::find_if(all.begin(), all.end(), over);
        running = found == all.end() ? nullptr : *found;
    }
    if (!running)
        return false;
    running->raise();
    running->activateWindow();
    return true;
}

}  // namespace tagwarden
