#pragma once
// The bar over the filtered view: the pattern typed (applied as it is typed), whether it
// keeps or hides the lines that match, plain or regular expression, the filters stacked
// before it, and the quick filters for error and warning lines.

#include <QWidget>
#include <vector>

#include "LineFilter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace reda {

class FilterBar : public QWidget {
    Q_OBJECT

  public:
    explicit FilterBar(QWidget* parent = nullptr);

    // The stacked filters, then the one being typed, with the quick filter.
    LineFilter filter() const;
    void setKinds(KindFilter kinds);
    // Shows the bar with the focus in the edit.
    void activate();
    // Puts the typed filter on the stack and empties the edit for the next one.
    void stackTyped();
    void clearAll();
    void setStatus(const QString& status);
    QString status() const;
    // Why the typed pattern does not compile; empty when it does.
    std::string typedError() const { return typedRule().pattern.error(); }

  Q_SIGNALS:
    void changed();
    void closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    FilterRule typedRule() const;
    void updateStackLabel();

    QLineEdit* edit_;
    QCheckBox* hide_;
    QCheckBox* regex_;
    QComboBox* kinds_;
    QLabel* stackLabel_;
    QLabel* status_;
    std::vector<FilterRule> stack_;
};

}  // namespace reda
