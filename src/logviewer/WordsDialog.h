#pragma once
// Edits the words that colour error and warning lines.

#include <QDialog>

#include "ProblemIndex.h"

class QLineEdit;

namespace reda {

class WordsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit WordsDialog(const HighlightWords& words, QWidget* parent = nullptr);
    HighlightWords words() const;

  private:
    void fill(const HighlightWords& words);

    QLineEdit* errors_;
    QLineEdit* warnings_;
};

}  // namespace reda
