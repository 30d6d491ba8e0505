#include "WordsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "RedaSettings.h"

namespace reda {

WordsDialog::WordsDialog(const HighlightWords& words, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wordsDialog"));
    setWindowTitle(tr("Highlight Words"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    errors_ = new QLineEdit(this);
    errors_->setObjectName(QStringLiteral("errorWords"));
    warnings_ = new QLineEdit(this);
    warnings_->setObjectName(QStringLiteral("warningWords"));
    form->addRow(tr("&Error words:"), errors_);
    form->addRow(tr("&Warning words:"), warnings_);
    layout->addLayout(form);
    auto* hint = new QLabel(
        tr("Separate words with commas. They match whole words, in any letter case."), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { fill(HighlightWords{}); });
    fill(words);
    resize(420, sizeHint().height());
}

void WordsDialog::fill(const HighlightWords& words) {
    errors_->setText(QString::fromStdString(joinWords(words.errors)));
    warnings_->setText(QString::fromStdString(joinWords(words.warnings)));
}

HighlightWords WordsDialog::words() const {
    HighlightWords words;
    words.errors = splitWords(errors_->text().toStdString());
    words.warnings = splitWords(warnings_->text().toStdString());
    return words;
}

}  // namespace reda
