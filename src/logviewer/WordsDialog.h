#pragma once
// Edits what the user adds to the rule table: words that colour error and warning lines, and
// regular expressions per severity.

#include <QDialog>

#include "ProblemIndex.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace reda {

class WordsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit WordsDialog(const HighlightWords& words, QWidget* parent = nullptr);
    HighlightWords words() const;

    // OK only when every pattern compiles; otherwise the dialog says which does not.
    void accept() override;

  private:
    void fill(const HighlightWords& words);

    QLineEdit* errors_;
    QLineEdit* warnings_;
    QPlainTextEdit* errorPatterns_;
    QPlainTextEdit* warningPatterns_;
    QLabel* problem_;
};

}  // namespace reda
