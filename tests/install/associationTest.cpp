// The preset association on a freedesktop system, through the real platform and the real
// desktop tools: after ".ZRP Files" with a temporary data and configuration folder, the
// desktop's own query tool names the preset type for a .zrp file and Kestrune as its default.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "QtPlatform.h"
#include "app/Kestrune.h"

class AssociationTest : public QObject {
    Q_OBJECT

  private slots:
    void zrpFilesMakesTheDesktopOpenPresetsWithKestrune();
};

namespace {

QString Query(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdg-mime"), arguments);
    if (!process.waitForFinished(30000)) {
        return QStringLiteral("xdg-mime did not finish");
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

}  // namespace

void AssociationTest::zrpFilesMakesTheDesktopOpenPresetsWithKestrune() {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    QDir().mkpath(dir.filePath("config"));

    // Message boxes are answered as a person would, and their texts kept.
    QStringList shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->accept();
        }
    });
    closer.start(20);

    kestrune::ui::QtPlatform platform;
    kestrune::Kestrune program(platform, kestrune::ui::FromQt(dir.path() + '/'),
                               kestrune::ui::FromQt(dir.filePath("kestrune")));
    program.Start({});
    QCOMPARE(program.Click("cmdSetup"), kestrune::EventResult::Done);
    QCOMPARE(program.Click("cmdZRPFiles"), kestrune::EventResult::Done);
    QCOMPARE(shown, QStringList{"Information: Association complete."});
    QVERIFY(QFile::exists(data + "/mime/mime.cache"));
    QVERIFY(QFile::exists(data + "/applications/mimeinfo.cache"));

    QFile preset(dir.filePath("night.zrp"));
    QVERIFY(preset.open(QIODevice::WriteOnly));
    preset.write("ZRP200\r\n");
    preset.close();
    QCOMPARE(Query({"query", "filetype", preset.fileName()}),
             QStringLiteral("application/x-kestrune-preset"));
    QCOMPARE(Query({"query", "default", "application/x-kestrune-preset"}),
             QStringLiteral("kestrune.desktop"));
}

QTEST_MAIN(AssociationTest)
#include "associationTest.moc"
