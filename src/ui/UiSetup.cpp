#include "UiSetup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QProxyStyle>
#include <QStyleFactory>

// Resources of a static library are registered by hand; the macro must stand outside any
// namespace.
static void InitResources() {
    Q_INIT_RESOURCE(icons);
}

namespace kestrune::ui {

namespace {

// Fusion with the check marks of the designed window: a 13-pixel box and a narrow gap, so the
// captions keep the room the designed check box widths give them.
class KestruneStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
                return 13;
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing:
                return 2;
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

}  // namespace

void SetUpApplication(QApplication& app) {
    InitResources();
    app.setStyle(new KestruneStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    // The controls were designed for an 8-point font at 96 DPI (11 pixels). WenQuanYi Micro
    // Hei holds the Chinese captions and its Latin letters are narrow enough for the designed
    // widths; the others stand in where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    app.setFont(font);
    app.setWindowIcon(ApplicationIcon());
    app.setApplicationName(QStringLiteral("Kestrune"));
}

QIcon ApplicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/kestrune/kestrune-32.png"));
    icon.addFile(QStringLiteral(":/kestrune/kestrune-256.png"));
    return icon;
}

}  // namespace kestrune::ui
