// The yardstick for Kestrune's start-up: a plain Qt program that creates the same widgets (the
// menus, the tool bar, the stages list, PROGRAMS tabs holding FIELDS check box and edit pairs
// each, the input row and the details pane) and shows them, with no core behind them:
//   bare_startup PROGRAMS FIELDS
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "ShownExit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    const int programs = QString::fromLatin1(argv[1]).toInt();
    const int fields = QString::fromLatin1(argv[2]).toInt();
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    app.setFont(font);

    QMainWindow window;
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    const char* const menus[][8] = {
        {"文件", "新设置", "打开设置", "导入设置", "保存设置", "保存设置为...", "打开文件", "退出"},
        {"编译", "编译地图", "储存为.bat文件", nullptr},
        {"设置", "设置", "编译后载入.log文件", "编译时关闭程序", "清除空内容", "显示细节", nullptr},
        {"帮助", "在线帮助", "关于", nullptr},
    };
    for (const auto& items : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(items[0]));
        for (int i = 1; i < 8 && items[i] != nullptr; ++i) {
            menu->addAction(QString::fromUtf8(items[i]));
            menu->addSeparator();
        }
    }
    auto* bar = new QToolBar(client);
    bar->setGeometry(0, 0, 704, 26);
    for (int i = 0; i < 5; ++i) {
        auto* button = new QToolButton(bar);
        button->setIcon(app.style()->standardIcon(QStyle::SP_FileIcon));
        bar->addWidget(button);
    }
    auto* tabs = new QTabWidget(client);
    tabs->setGeometry(8, 26, 577, 345);
    for (int p = 0; p < programs; ++p) {
        auto* page = new QWidget(tabs);
        auto* box = new QGroupBox(QStringLiteral("Program %1:").arg(p), page);
        box->setGeometry(8, 8, 553, 301);
        for (int f = 0; f < fields; ++f) {
            const int left = 8 + (f / 11) * 180;
            const int top = 16 + (f % 11) * 25;
            auto* check = new QCheckBox(QStringLiteral("Option %1").arg(f), box);
            check->setGeometry(left, top, 132, 21);
            check->setChecked(true);
            auto* edit = new QLineEdit(QString::number(f), box);
            edit->setGeometry(left + 132, top, 44, 21);
        }
        tabs->addTab(page, QStringLiteral("P%1").arg(p));
    }
    (new QLabel(QString::fromUtf8("步骤:"), client))->setGeometry(592, 24, 36, 13);
    auto* stages = new QListWidget(client);
    stages->setGeometry(592, 40, 105, 329);
    for (int p = 0; p < programs; ++p) {
        auto* item = new QListWidgetItem(QStringLiteral("P%1").arg(p), stages);
        item->setCheckState(Qt::Checked);
    }
    (new QCheckBox(QStringLiteral("Remember File"), client))->setGeometry(8, 376, 89, 21);
    (new QLineEdit(client))->setGeometry(104, 376, 479, 21);
    (new QPushButton(QStringLiteral("..."), client))->setGeometry(591, 375, 25, 25);
    (new QPushButton(QStringLiteral("&Run"), client))->setGeometry(623, 375, 75, 25);
    (new QPlainTextEdit(client))->setGeometry(8, 408, 689, 113);
    window.setFixedSize(704, 550);
    window.show();
    ExitWhenShown(window);
    return QApplication::exec();
}
