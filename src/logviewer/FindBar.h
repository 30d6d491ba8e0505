#pragma once
// The search bar under the log: the text, previous / next, and the case and whole-word
// switches. It only collects the request; the window runs the search on the model.

#include <QWidget>

#include "Pattern.h"
#include "TextFinder.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace reda {

class FindBar : public QWidget {
    Q_OBJECT

  public:
    explicit FindBar(QWidget* parent = nullptr);

    QString text() const;
    FindOptions options() const;
    void setOptions(FindOptions options);
    PatternMode mode() const;
    void setMode(PatternMode mode);
    // What the bar asks for; an invalid one says why in the bar.
    Pattern pattern() const;
    // Shows the bar with `seed` (when not empty) selected in the edit, which takes the focus.
    void activate(const QString& seed);
    void setStatus(const QString& status);
    QString status() const;
    // While a search runs, Esc stops it instead of closing the bar.
    void setBusy(bool busy) { busy_ = busy; }
    bool isBusy() const { return busy_; }

  Q_SIGNALS:
    void findNext();
    void findPrevious();
    // The text or a switch changed: the marks on screen follow.
    void changed();
    void closed();
    void stopRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* edit_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QCheckBox* regex_;
    QLabel* status_;
    bool busy_ = false;
};

}  // namespace reda
