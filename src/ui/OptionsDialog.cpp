#include "OptionsDialog.h"

#include <QGuiApplication>
#include <QScreen>

#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

namespace kestrune::ui {

OptionsDialog::OptionsDialog(Kestrune& core, EventRunner run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      core_(core),
      options_(core.frmOptions),
      run_(std::move(run)) {
    setObjectName(QStringLiteral("frmOptions"));
    setModal(true);
    setFixedSize(Scaled(304), Scaled(350));
    controls_ = new WindowControls(core_, WindowId::Options, this, nullptr, run_);
}

void OptionsDialog::reject() {
    // Escape and the close box close the dialog through the core, which applies nothing.
    run_([this] { core_.CloseBox(); });
}

void OptionsDialog::Sync() {
    const QString caption = ToQt(options_.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    controls_->Sync();
    if (const qreal opacity = options_.Translucent ? OpacityOf(options_.Alpha) : 1.0;
        windowOpacity() != opacity) {
        setWindowOpacity(opacity);
    }
    ShowCentred(this, options_.IsOpen);
}

}  // namespace kestrune::ui
