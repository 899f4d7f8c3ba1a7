#include "gui/tags/progress_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tagwarden {

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent), text_(new QLabel(QStringLiteral("Reading....."), this)), bar_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("progress_dialog"));
    setWindowTitle(QStringLiteral("Reading Directory Entries"));
    text_->setObjectName(QStringLiteral("progress_text"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setMinimumWidth(260);
    bar_->setObjectName(QStringLiteral("progress_bar"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel_button"));
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &ProgressDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void ProgressDialog::begin()
{
    sincePaint_.invalidate();
    show();
    // One pass of the window system's own events, so that the window comes up:
    // no input, no timers and no sockets run in the middle of a reading.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

void ProgressDialog::setRange(int minimum, int maximum)
{
    bar_->setRange(minimum, maximum);
    bar_->setValue(minimum);
}

void ProgressDialog::setStep(int step)
{
    if (step >= 1 && step <= 99)
        step_ = step;
}

void ProgressDialog::setText(const std::string& text)
{
    text_->setText(QString::fromLatin1(text));
    repaintNow();
}

void ProgressDialog::stepIt()
{
    const int next = bar_->value() + step_;
    // Past the end the bar starts over, as a stepped progress control does.
    bar_->setValue(next > bar_->maximum() ? bar_->minimum() + (next - bar_->maximum()) : next);
    repaintNow();
}

void ProgressDialog::end() { hide(); }

QString ProgressDialog::text() const { return text_->text(); }
int ProgressDialog::value() const { return bar_->value(); }
int ProgressDialog::minimum() const { return bar_->minimum(); }
int ProgressDialog::maximum() const { return bar_->maximum(); }

void ProgressDialog::reject() {}

void ProgressDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void ProgressDialog::repaintNow()
{
    constexpr qint64 kFrameMilliseconds = 40;
    if (!isVisible() || (sincePaint_.isValid() && sincePaint_.elapsed() < kFrameMilliseconds))
        return;
    // Painted at once, without running the event loop: nothing else happens while reading.
    repaint();
    sincePaint_.start();
}

}  // namespace tagwarden
