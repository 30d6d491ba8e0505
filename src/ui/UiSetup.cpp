#include "UiSetup.h"

#include <QGuiApplication>
#include <QScreen>

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontMetricsF>
#include <QIcon>
#include <QProxyStyle>
#include <QStyleFactory>
#include <algorithm>
#include <cmath>

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
                return Scaled(13);
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing:
                return Scaled(2);
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

// A combo box told to a screen reader by its name, with its text as the value. Qt names a
// combo box after its text on Linux, so a field's combo would be announced as "C17".
class NamedComboBox : public QAccessibleWidget {
  public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    QString text(QAccessible::Text kind) const override {
        const auto* combo = static_cast<const QComboBox*>(widget());
        if (kind == QAccessible::Value) {
            return combo->currentText();
        }
        if (kind == QAccessible::Name && combo->accessibleName().isEmpty()) {
            return combo->currentText();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* NamedComboBoxes(const QString& className, QObject* object) {
    if (auto* combo = qobject_cast<QComboBox*>(object);
        combo != nullptr && className == QLatin1String("QComboBox")) {
        return new NamedComboBox(combo);
    }
    return nullptr;
}

const QStringList& CaptionFamilies() {
    // WenQuanYi Micro Hei holds the Chinese captions and its Latin letters are narrow enough
    // for the designed widths; the others stand in where it is missing.
    static const QStringList families = {
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Droid Sans Fallback"), QStringLiteral("DejaVu Sans")};
    return families;
}

// The size of a font as dialog layouts have always measured it: its line height and the
// average width of the letters.
struct Measure {
    double width;
    double height;
};

Measure Measured(const QFont& font) {
    static const QString letters =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(letters) / static_cast<qreal>(letters.size()),
            metrics.height()};
}

double Ratio(const QFont& font) {
    const Measure design = Measured(DesignFont());
    const Measure actual = Measured(font);
    return std::max({1.0, actual.width / design.width, actual.height / design.height});
}

}  // namespace

QFont DesignFont() {
    QFont font;
    font.setFamilies(CaptionFamilies());
    font.setPixelSize(11);
    return font;
}

QFont ApplicationFont(const QFont& desktop) {
    // Qt's own default where no desktop theme names a font.
    const bool named = !(desktop.family() == QLatin1String("Sans Serif") &&
                         desktop.pointSizeF() == 9.0 && desktop.pixelSize() <= 0);
    if (!named) {
        return DesignFont();
    }
    QFont font = desktop;
    QStringList families = {desktop.family()};
    families.append(CaptionFamilies());
    font.setFamilies(families);
    if (QFontMetricsF(font).height() < QFontMetricsF(DesignFont()).height()) {
        return DesignFont();
    }
    return font;
}

double LayoutScale() {
    // Measured once per font: every control asks.
    static QString key;
    static double scale = 1.0;
    const QFont font = QApplication::font();
    if (const QString now = font.key(); now != key) {
        key = now;
        scale = Ratio(font);
    }
    return scale;
}

int Scaled(int designed) {
    return static_cast<int>(std::lround(designed * LayoutScale()));
}

QRect Scaled(int left, int top, int width, int height) {
    // Edges, not lengths, are scaled, so neighbours that touched still touch.
    const int l = Scaled(left);
    const int t = Scaled(top);
    return {l, t, Scaled(left + width) - l, Scaled(top + height) - t};
}

QRect Scaled(const Bounds& designed) {
    return Scaled(designed.left, designed.top, designed.width, designed.height);
}

void SetUpApplication(QApplication& app) {
    InitResources();
    app.setStyle(new KestruneStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    app.setFont(ApplicationFont(QApplication::font()));
    app.setWindowIcon(ApplicationIcon());
    QAccessible::installFactory(NamedComboBoxes);
    app.setApplicationName(QStringLiteral("Kestrune"));
}

QIcon ApplicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/kestrune/kestrune-32.png"));
    icon.addFile(QStringLiteral(":/kestrune/kestrune-256.png"));
    return icon;
}

void ShowCentred(QWidget* dialog, bool open) {
    if (open && !dialog->isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            dialog->move(screen->availableGeometry().center() - dialog->rect().center());
        }
        dialog->show();
    } else if (!open && dialog->isVisible()) {
        dialog->hide();
    }
}

}  // namespace kestrune::ui
