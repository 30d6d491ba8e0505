#include "WordsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "RedaSettings.h"
#include "Severity.h"

namespace reda {

namespace {

std::vector<std::string> patternLines(const QPlainTextEdit* edit) {
    std::vector<std::string> patterns;
    for (const QString& line : edit->toPlainText().split(QLatin1Char('\n'))) {
        const QString pattern = line.trimmed();
        if (!pattern.isEmpty()) {
            patterns.push_back(pattern.toStdString());
        }
    }
    return patterns;
}

QString joinLines(const std::vector<std::string>& patterns) {
    QStringList lines;
    for (const std::string& pattern : patterns) {
        lines << QString::fromStdString(pattern);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

WordsDialog::WordsDialog(const HighlightWords& words, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wordsDialog"));
    setWindowTitle(tr("Highlight Words"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Errors and warnings are found by the form real tools write "
                                "them in. Add your own here."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    errors_ = new QLineEdit(this);
    errors_->setObjectName(QStringLiteral("errorWords"));
    warnings_ = new QLineEdit(this);
    warnings_->setObjectName(QStringLiteral("warningWords"));
    errorPatterns_ = new QPlainTextEdit(this);
    errorPatterns_->setObjectName(QStringLiteral("errorPatterns"));
    warningPatterns_ = new QPlainTextEdit(this);
    warningPatterns_->setObjectName(QStringLiteral("warningPatterns"));
    for (QPlainTextEdit* edit : {errorPatterns_, warningPatterns_}) {
        edit->setTabChangesFocus(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4 + 12);
    }
    form->addRow(tr("&Error words:"), errors_);
    form->addRow(tr("&Warning words:"), warnings_);
    form->addRow(tr("Error &patterns:"), errorPatterns_);
    form->addRow(tr("Warning pa&tterns:"), warningPatterns_);
    layout->addLayout(form);
    auto* hint = new QLabel(tr("Separate words with commas. They match whole words, in any "
                               "letter case. Patterns are regular expressions, one a line."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("patternProblem"));
    problem_->setWordWrap(true);
    problem_->hide();
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { fill(HighlightWords{}); });
    fill(words);
    resize(480, sizeHint().height());
}

void WordsDialog::fill(const HighlightWords& words) {
    errors_->setText(QString::fromStdString(joinWords(words.errors)));
    warnings_->setText(QString::fromStdString(joinWords(words.warnings)));
    errorPatterns_->setPlainText(joinLines(words.errorPatterns));
    warningPatterns_->setPlainText(joinLines(words.warningPatterns));
}

HighlightWords WordsDialog::words() const {
    HighlightWords words;
    words.errors = splitWords(errors_->text().toStdString());
    words.warnings = splitWords(warnings_->text().toStdString());
    words.errorPatterns = patternLines(errorPatterns_);
    words.warningPatterns = patternLines(warningPatterns_);
    return words;
}

void WordsDialog::accept() {
    const HighlightWords chosen = words();
    for (const auto* list : {&chosen.errorPatterns, &chosen.warningPatterns}) {
        for (const std::string& pattern : *list) {
            const std::string error = patternError(pattern);
            if (!error.empty()) {
                problem_->setText(
                    tr("The pattern “%1” does not compile: %2")
                        .arg(QString::fromStdString(pattern), QString::fromStdString(error)));
                problem_->show();
                return;
            }
        }
    }
    QDialog::accept();
}

}  // namespace reda
