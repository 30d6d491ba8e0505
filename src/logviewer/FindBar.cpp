#include "FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace reda {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("findBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);

    auto* label = new QLabel(tr("Find:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("findEdit"));
    edit_->setClearButtonEnabled(true);
    edit_->setMinimumWidth(200);
    edit_->installEventFilter(this);
    label->setBuddy(edit_);

    auto* previous = new QPushButton(tr("Previous"), this);
    previous->setObjectName(QStringLiteral("findPrevious"));
    previous->setToolTip(tr("Find the previous match (Shift+F3, Shift+Enter)"));
    previous->setAutoDefault(false);
    auto* next = new QPushButton(tr("Next"), this);
    next->setObjectName(QStringLiteral("findNext"));
    next->setToolTip(tr("Find the next match (F3, Enter)"));
    next->setAutoDefault(false);

    matchCase_ = new QCheckBox(tr("Match &case"), this);
    matchCase_->setObjectName(QStringLiteral("matchCase"));
    wholeWord_ = new QCheckBox(tr("&Whole words"), this);
    wholeWord_->setObjectName(QStringLiteral("wholeWord"));

    regex_ = new QCheckBox(tr("Regular e&xpression"), this);
    regex_->setObjectName(QStringLiteral("regex"));
    regex_->setToolTip(tr("RE2 syntax; whole words do not apply, write \\b"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("findStatus"));

    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("findClose"));
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(tr("Close the search bar (Esc)"));
    close->setAutoRaise(true);

    layout->addWidget(label);
    layout->addWidget(edit_, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(matchCase_);
    layout->addWidget(wholeWord_);
    layout->addWidget(regex_);
    layout->addWidget(status_);
    layout->addWidget(close);

    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        status_->clear();
        Q_EMIT changed();
    });
    connect(matchCase_, &QCheckBox::toggled, this, &FindBar::changed);
    connect(wholeWord_, &QCheckBox::toggled, this, &FindBar::changed);
    connect(regex_, &QCheckBox::toggled, this, [this](bool on) {
        wholeWord_->setEnabled(!on);
        status_->clear();
        Q_EMIT changed();
    });
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT closed();
    });
}

QString FindBar::text() const {
    return edit_->text();
}

FindOptions FindBar::options() const {
    return FindOptions{matchCase_->isChecked(), wholeWord_->isChecked()};
}

void FindBar::setOptions(FindOptions options) {
    matchCase_->setChecked(options.matchCase);
    wholeWord_->setChecked(options.wholeWord);
}

PatternMode FindBar::mode() const {
    return regex_->isChecked() ? PatternMode::Regex : PatternMode::Plain;
}

void FindBar::setMode(PatternMode mode) {
    regex_->setChecked(mode == PatternMode::Regex);
}

Pattern FindBar::pattern() const {
    const QByteArray text = edit_->text().toUtf8();
    FindOptions options = this->options();
    options.wholeWord = options.wholeWord && mode() == PatternMode::Plain;
    return Pattern(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                   mode(), options);
}

void FindBar::activate(const QString& seed) {
    show();
    if (!seed.isEmpty()) {
        edit_->setText(seed);
    }
    edit_->selectAll();
    edit_->setFocus(Qt::ShortcutFocusReason);
}

void FindBar::setStatus(const QString& status) {
    status_->setText(status);
}

QString FindBar::status() const {
    return status_->text();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier) {
                Q_EMIT findPrevious();
            } else {
                Q_EMIT findNext();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (busy_) {
            Q_EMIT stopRequested();
        } else {
            hide();
            Q_EMIT closed();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace reda
