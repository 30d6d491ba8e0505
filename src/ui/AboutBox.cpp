#include "AboutBox.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

namespace kestrune::ui {

AboutBox::AboutBox(Kestrune& core, std::function<void(const std::function<void()>&)> run,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      core_(core),
      about_(core.frmAbout),
      run_(std::move(run)) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(Scaled(281), Scaled(264));
    TfrmAbout& a = about_;

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("grpAbout"));
    frame->setAccessibleName(QStringLiteral("About Kestrune"));
    bindings_.Bind(frame, a.grpAbout, Bindings::Kind::Caption);

    auto* icon = new QLabel(frame);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setScaledContents(true);
    icon->setPixmap(ApplicationIcon().pixmap(QSize(Scaled(32), Scaled(32))));
    icon->setAccessibleName(QStringLiteral("Kestrune icon"));
    bindings_.Bind(icon, a.ProgramIcon, Bindings::Kind::Geometry);

    auto label = [this](QWidget* parent, ControlState& state, const char* name) {
        auto* widget = new QLabel(parent);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        bindings_.Bind(widget, state, Bindings::Kind::Caption);
        return widget;
    };
    QLabel* program = label(frame, a.lblProgram, "lblProgram");
    QFont big = program->font();
    big.setPixelSize(Scaled(16));
    big.setBold(true);
    // Some families set their lines far apart: the name must keep its descenders.
    while (big.pixelSize() > 11 &&
           QFontMetrics(big).height() > Scaled(a.lblProgram.bounds.height)) {
        big.setPixelSize(big.pixelSize() - 1);
    }
    program->setFont(big);
    label(frame, a.lblVersion, "lblVersion");
    label(frame, a.lblPlatform, "lblPlatform");
    label(frame, a.lblLanguage, "lblLanguage");
    label(frame, a.lblAuthor, "lblAuthor");

    auto* spec = new QGroupBox(frame);
    spec->setObjectName(QStringLiteral("grpSpecificationFile"));
    bindings_.Bind(spec, a.grpSpecificationFile, Bindings::Kind::Caption);
    label(spec, a.lblSpecName, "lblSpecName");
    label(spec, a.lblSpecProgram, "lblSpecProgram");
    label(spec, a.lblSpecAuthor, "lblSpecAuthor");

    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    bindings_.Bind(ok, a.cmdOK, Bindings::Kind::Caption);
    connect(ok, &QPushButton::clicked, this, [this] { run_([this] { core_.Click("cmdOK"); }); });
}

void AboutBox::reject() {
    run_([this] { core_.CloseBox(); });
}

void AboutBox::Sync() {
    const QString caption = ToQt(about_.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    bindings_.Sync();
    if (const qreal opacity = about_.Translucent ? about_.Alpha / 255.0 : 1.0;
        windowOpacity() != opacity) {
        setWindowOpacity(opacity);
    }
    if (about_.IsOpen && !isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
    } else if (!about_.IsOpen && isVisible()) {
        hide();
    }
}

}  // namespace kestrune::ui
