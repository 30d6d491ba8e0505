#include "AboutBox.h"

#include <QLabel>

#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

namespace kestrune::ui {

AboutBox::AboutBox(Kestrune& core, EventRunner run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      core_(core),
      about_(core.frmAbout),
      run_(std::move(run)) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(Scaled(281), Scaled(264));
    controls_ = new WindowControls(core_, WindowId::About, this, nullptr, run_);
    // The box's texts stand centred under each other.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->pixmap().isNull()) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
    }
}

void AboutBox::reject() {
    run_([this] { core_.CloseBox(); });
}

void AboutBox::Sync() {
    const QString caption = ToQt(about_.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    controls_->Sync();
    if (const qreal opacity = about_.Translucent ? OpacityOf(about_.Alpha) : 1.0;
        windowOpacity() != opacity) {
        setWindowOpacity(opacity);
    }
    ShowCentred(this, about_.IsOpen);
}

}  // namespace kestrune::ui
