#pragma once
// The script preview: a window of its own beside the main window that shows the exact text Run
// would write now, with the layout lines the run leaves out greyed between them. It follows
// every change of the form, the stages and the input file, writes no file, and copies the
// script's exact bytes.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kestrune {
class Kestrune;
}

namespace kestrune::ui {

class ScriptPreviewPane : public QWidget {
    Q_OBJECT
  public:
    ScriptPreviewPane(Kestrune& core, std::function<void(const std::function<void()>&)> event,
                      QWidget* parent);

    // Shown while the core says so, and its text as the core builds it now.
    void Sync();
    // The Run drop-down's entry under the mouse (its stage's script shows), or none again.
    void ShowHovered(std::optional<std::size_t> entry);
    // The bytes Run would write, as "Copy" copies them.
    QString ScriptText() const { return script_; }
    // True when the text view's line `block` is one the run leaves out.
    bool IsGreyed(int block) const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Render();

    Kestrune& core_;
    std::function<void(const std::function<void()>&)> event_;
    QComboBox* stages_;
    QLabel* problem_;
    QPlainTextEdit* text_;
    QPushButton* copy_;
    std::optional<std::size_t> hovered_;
    QString script_;
    QStringList shownStages_;
    std::string rendered_;  // what the view shows now, to redraw only on a change
    bool syncing_ = false;
};

}  // namespace kestrune::ui
