#pragma once
// The options dialog: translucency, recent-list length and the association on "General", the
// tool, base and destination paths on "Paths", the favourite presets on "Presets". Shown while
// the core holds it open; every control forwards to the core's handlers.

#include <QDialog>
#include <functional>

#include "Bindings.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace kestrune {
class Kestrune;
class TfrmOptions;
}  // namespace kestrune

namespace kestrune::ui {

// Up and down arrows without a text of their own; the core holds the position.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

  signals:
    void Stepped(int step);

  private:
    QToolButton* up_;
    QToolButton* down_;
};

class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    OptionsDialog(Kestrune& core, std::function<void(const std::function<void()>&)> run,
                  QWidget* parent);

    void Sync();

  public slots:
    void reject() override;

  private:
    QWidget* Page(int index) const;
    void Click(const char* name);

    Kestrune& core_;
    TfrmOptions& options_;
    std::function<void(const std::function<void()>&)> run_;
    Bindings bindings_;
    QTabWidget* tabs_ = nullptr;
    QSlider* slider_ = nullptr;
    QTreeWidget* tools_ = nullptr;
    QListWidget* presets_ = nullptr;
    std::vector<QLabel*> autoSized_;
    // A path's label, its box and its "..." button, which take their names from the label.
    struct PathNames {
        QLabel* label;
        QLineEdit* box;
        QPushButton* choose;
    };
    std::vector<PathNames> pathNames_;
    bool syncing_ = false;
};

}  // namespace kestrune::ui
