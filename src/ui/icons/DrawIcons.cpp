// Draws Kestrune's tool-bar pictures and its application icon as PNG files, so the pictures
// are the project's own and can be redrawn when their shapes change:
//   kestrune_draw_icons <folder>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kPaper(0xfa, 0xfa, 0xf5);
const QColor kAccent(0xd9, 0x6c, 0x1e);
const QColor kGreen(0x2e, 0x8b, 0x3e);
const QColor kBlue(0x2a, 0x6f, 0xb8);

bool Save(const QString& folder, const QString& name, int size,
          const std::function<void(QPainter&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    painter.end();
    return image.save(QDir(folder).filePath(name));
}

void Sheet(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(3, 1.5);
    sheet.lineTo(10, 1.5);
    sheet.lineTo(13, 4.5);
    sheet.lineTo(13, 14.5);
    sheet.lineTo(3, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void NewPreset(QPainter& p) {
    Sheet(p);
    p.setPen(QPen(kAccent, 1.6));
    p.drawLine(QPointF(8, 7), QPointF(8, 12));
    p.drawLine(QPointF(5.5, 9.5), QPointF(10.5, 9.5));
}

void OpenPreset(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xe8, 0xc0, 0x6a));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.drawRect(QRectF(1.5, 3, 5, 2));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15, 7.5);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.setBrush(QColor(0xf4, 0xd7, 0x8c));
    p.drawPath(flap);
}

void SavePreset(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(0xdd, 0xe4, 0xee));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

void Run(QPainter& p) {
    QPainterPath arrow;
    arrow.moveTo(4, 2);
    arrow.lineTo(14, 8);
    arrow.lineTo(4, 14);
    arrow.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kGreen);
    p.drawPath(arrow);
}

void ShowDetails(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 2.5, 13, 2.5));
    p.setPen(QPen(kInk, 1));
    for (double y : {7.5, 9.5, 11.5}) {
        p.drawLine(QPointF(3.5, y), QPointF(y == 11.5 ? 9 : 12.5, y));
    }
}

// A kestrel's wing over a chain of three links: tools run one after another.
void AppIcon(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QPainterPath wing;
    wing.moveTo(2.5, 8);
    wing.cubicTo(5, 2.5, 10, 2, 13.5, 3);
    wing.cubicTo(10.5, 4.5, 8.5, 6.5, 8, 9);
    wing.closeSubpath();
    p.setBrush(kAccent);
    p.drawPath(wing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kPaper, 1.2));
    for (double x : {2.5, 6.5, 10.5}) {
        p.drawRoundedRect(QRectF(x, 10.5, 3.5, 2.5), 1.2, 1.2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrune_draw_icons FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(folder, QStringLiteral("new.png"), 16, NewPreset) &&
              Save(folder, QStringLiteral("open.png"), 16, OpenPreset) &&
              Save(folder, QStringLiteral("save.png"), 16, SavePreset) &&
              Save(folder, QStringLiteral("run.png"), 16, Run) &&
              Save(folder, QStringLiteral("details.png"), 16, ShowDetails) &&
              Save(folder, QStringLiteral("kestrune-32.png"), 32, AppIcon) &&
              Save(folder, QStringLiteral("kestrune-256.png"), 256, AppIcon);
    if (!ok) {
        std::fprintf(stderr, "kestrune_draw_icons: cannot write into %s\n", argv[1]);
    }
    return ok ? 0 : 1;
}
