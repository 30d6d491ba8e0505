#include "FilterBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace reda {

FilterBar::FilterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("filterBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);

    auto* label = new QLabel(tr("Filter:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("filterEdit"));
    edit_->setAccessibleName(tr("Filter"));
    edit_->setPlaceholderText(tr("lines that match"));
    edit_->setClearButtonEnabled(true);
    edit_->setMinimumWidth(160);
    label->setBuddy(edit_);

    hide_ = new QCheckBox(tr("Hi&de matching"), this);
    hide_->setObjectName(QStringLiteral("filterHide"));
    regex_ = new QCheckBox(tr("&Regular expression"), this);
    regex_->setObjectName(QStringLiteral("filterRegex"));
    kinds_ = new QComboBox(this);
    kinds_->setObjectName(QStringLiteral("filterKinds"));
    kinds_->setAccessibleName(tr("Line kinds"));
    kinds_->addItems({tr("All lines"), tr("Errors"), tr("Warnings"), tr("Errors and warnings")});

    auto* stack = new QPushButton(tr("&Stack"), this);
    stack->setObjectName(QStringLiteral("filterStack"));
    stack->setToolTip(tr("Keep this filter and type another one that applies as well"));
    stack->setAutoDefault(false);
    stackLabel_ = new QLabel(this);
    stackLabel_->setObjectName(QStringLiteral("filterStackLabel"));
    auto* clear = new QPushButton(tr("C&lear"), this);
    clear->setObjectName(QStringLiteral("filterClear"));
    clear->setAutoDefault(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("filterStatus"));

    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("filterClose"));
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(tr("Close the filtered view (Esc)"));
    close->setAccessibleName(tr("Close the filtered view"));
    close->setAutoRaise(true);

    layout->addWidget(label);
    layout->addWidget(edit_, 1);
    layout->addWidget(hide_);
    layout->addWidget(regex_);
    layout->addWidget(kinds_);
    layout->addWidget(stack);
    layout->addWidget(stackLabel_);
    layout->addWidget(clear);
    layout->addWidget(status_);
    layout->addWidget(close);

    connect(edit_, &QLineEdit::textChanged, this, &FilterBar::changed);
    connect(edit_, &QLineEdit::returnPressed, this, &FilterBar::stackTyped);
    connect(hide_, &QCheckBox::toggled, this, &FilterBar::changed);
    connect(regex_, &QCheckBox::toggled, this, &FilterBar::changed);
    connect(kinds_, &QComboBox::currentIndexChanged, this, &FilterBar::changed);
    connect(stack, &QPushButton::clicked, this, &FilterBar::stackTyped);
    connect(clear, &QPushButton::clicked, this, &FilterBar::clearAll);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT closed();
    });
}

FilterRule FilterBar::typedRule() const {
    const QByteArray text = edit_->text().toUtf8();
    return FilterRule{
        Pattern(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                regex_->isChecked() ? PatternMode::Regex : PatternMode::Plain, FindOptions{}),
        hide_->isChecked()};
}

LineFilter FilterBar::filter() const {
    std::vector<FilterRule> rules = stack_;
    const FilterRule typed = typedRule();
    if (!typed.pattern.valid()) {
        // Said in the bar; the stack still applies.
    } else if (!typed.pattern.empty()) {
        rules.push_back(typed);
    }
    return LineFilter(std::move(rules), static_cast<KindFilter>(kinds_->currentIndex()));
}

void FilterBar::setKinds(KindFilter kinds) {
    kinds_->setCurrentIndex(static_cast<int>(kinds));
}

void FilterBar::activate() {
    show();
    edit_->selectAll();
    edit_->setFocus(Qt::ShortcutFocusReason);
}

void FilterBar::stackTyped() {
    const FilterRule typed = typedRule();
    if (typed.pattern.empty() || !typed.pattern.valid()) {
        return;
    }
    stack_.push_back(typed);
    updateStackLabel();
    const QSignalBlocker block(edit_);
    edit_->clear();
    hide_->setChecked(false);
    Q_EMIT changed();
}

void FilterBar::clearAll() {
    stack_.clear();
    updateStackLabel();
    {
        const QSignalBlocker blockEdit(edit_);
        const QSignalBlocker blockKinds(kinds_);
        const QSignalBlocker blockHide(hide_);
        edit_->clear();
        hide_->setChecked(false);
        kinds_->setCurrentIndex(0);
    }
    Q_EMIT changed();
}

void FilterBar::updateStackLabel() {
    QStringList parts;
    for (const FilterRule& rule : stack_) {
        const QString text = QString::fromStdString(rule.pattern.text());
        parts << (rule.hide ? tr("not “%1”").arg(text) : tr("“%1”").arg(text));
    }
    stackLabel_->setText(parts.join(tr(" and ")));
}

void FilterBar::setStatus(const QString& status) {
    status_->setText(status);
}

QString FilterBar::status() const {
    return status_->text();
}

void FilterBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        Q_EMIT closed();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace reda
