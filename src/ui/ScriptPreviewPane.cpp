#include "ScriptPreviewPane.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "QtPlatform.h"
#include "app/Kestrune.h"

namespace kestrune::ui {

namespace {

// The property that marks a greyed line of the text view.
constexpr int kLeftOutProperty = QTextFormat::UserProperty + 1;

}  // namespace

ScriptPreviewPane::ScriptPreviewPane(Kestrune& core,
                                     std::function<void(const std::function<void()>&)> event,
                                     QWidget* parent)
    : QWidget(parent, Qt::Tool),
      core_(core),
      event_(std::move(event)),
      stages_(new QComboBox(this)),
      problem_(new QLabel(this)),
      text_(new QPlainTextEdit(this)),
      copy_(new QPushButton(QStringLiteral("&Copy"), this)) {
    setObjectName(QStringLiteral("frmScriptPreview"));
    setWindowTitle(QStringLiteral("Script Preview"));
    stages_->setObjectName(QStringLiteral("cboPreviewStage"));
    stages_->setAccessibleName(QStringLiteral("Preview Stage"));
    problem_->setObjectName(QStringLiteral("lblPreviewProblem"));
    problem_->setWordWrap(true);
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_->hide();
    text_->setObjectName(QStringLiteral("txtScriptPreview"));
    text_->setAccessibleName(QStringLiteral("Script Preview"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setTabChangesFocus(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    copy_->setObjectName(QStringLiteral("cmdCopyScript"));

    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Script of:"), this);
    label->setBuddy(stages_);
    top->addWidget(label);
    top->addWidget(stages_, 1);
    top->addWidget(copy_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(problem_);
    layout->addWidget(text_, 1);
    resize(640, 420);

    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(script_); });
    connect(stages_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (syncing_ || index < 0) {
            return;
        }
        event_([this, index] {
            TfrmMain& main = core_.frmMain;
            main.PreviewStage =
                index == 0 ? std::nullopt : std::optional<std::size_t>(std::size_t(index - 1));
        });
    });
}

void ScriptPreviewPane::closeEvent(QCloseEvent* event) {
    // The close box hides the preview as the menu's tick does, and the settings follow.
    event->accept();
    if (!syncing_) {
        event_([this] { core_.frmMain.ShowScriptPreview(false); });
    }
}

void ScriptPreviewPane::ShowHovered(std::optional<std::size_t> entry) {
    hovered_ = entry;
    Sync();
}

void ScriptPreviewPane::Sync() {
    const TfrmMain& main = core_.frmMain;
    const bool shown = main.State().ShowScriptPreview && main.Visible;
    syncing_ = true;
    if (shown != isVisible()) {
        setVisible(shown);
    }
    if (shown) {
        QStringList stages{QStringLiteral("Whole run")};
        for (const MenuItem& item : main.mnuRunStages.items) {
            stages << ToQt(item.caption);
        }
        if (stages != shownStages_) {
            shownStages_ = stages;
            stages_->clear();
            stages_->addItems(stages);
        }
        const int chosen = main.PreviewStage ? int(*main.PreviewStage) + 1 : 0;
        if (chosen < stages_->count() && stages_->currentIndex() != chosen) {
            stages_->setCurrentIndex(chosen);
        }
        Render();
    }
    syncing_ = false;
}

bool ScriptPreviewPane::IsGreyed(int block) const {
    const QTextBlock line = text_->document()->findBlockByNumber(block);
    return line.isValid() && line.charFormat().property(kLeftOutProperty).toBool();
}

void ScriptPreviewPane::Render() {
    const ScriptPreview preview = core_.frmMain.Preview(hovered_);
    std::string key = preview.text + '\0' + preview.missingMessage + '\0' + preview.problem;
    for (const ScriptLine& line : preview.lines) {
        key += '\0' + std::to_string(int(line.fate)) + line.text;
    }
    if (key == rendered_) {
        return;
    }
    rendered_ = std::move(key);
    script_ = ToQt(preview.text);

    const std::string problem = !preview.problem.empty() ? preview.problem : preview.missingMessage;
    problem_->setVisible(!problem.empty());
    problem_->setText(QStringLiteral("Run would write nothing now: %1")
                          .arg(ToQt(problem).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
    copy_->setEnabled(!script_.isEmpty());

    QTextCharFormat written;
    written.setForeground(palette().color(QPalette::Active, QPalette::Text));
    QTextCharFormat leftOut;
    leftOut.setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    leftOut.setFontItalic(true);
    leftOut.setProperty(kLeftOutProperty, true);

    text_->clear();
    QTextCursor cursor(text_->document());
    bool first = true;
    for (const ScriptLine& line : preview.lines) {
        const bool isWritten = line.fate == LineFate::Written;
        if (!isWritten && (line.fate == LineFate::Empty || line.text.empty())) {
            continue;
        }
        const QTextCharFormat& format = isWritten ? written : leftOut;
        // Each line of the text (a command line may hold several) is a block of its own.
        for (const QString& part : ToQt(line.text).split(QLatin1Char('\n'))) {
            if (!first) {
                cursor.insertBlock(QTextBlockFormat(), format);
            }
            first = false;
            cursor.setBlockCharFormat(format);
            cursor.insertText(part, format);
        }
    }
    text_->moveCursor(QTextCursor::Start);
}

}  // namespace kestrune::ui
