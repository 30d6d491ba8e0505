// One window per program folder: a later start hands its arguments to the first and ends, a
// socket left by a crashed instance does not block the next start, and two program folders
// run side by side.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>
#include <thread>

#include "SingleInstance.h"

using kestrune::ui::SingleInstance;

namespace {

// Waits while the event loop runs; unlike QTRY_VERIFY it does not return from the function.
#define WAIT_PROCESSING_EVENTS(expr, timeout)                           \
    do {                                                                \
        QElapsedTimer timer;                                            \
        timer.start();                                                  \
        while (!(expr) && timer.elapsed() < (timeout)) {                \
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50); \
        }                                                               \
    } while (false)

// Runs a later start's claim in a thread, as another process would, while this thread's event
// loop lets the first instance answer.
SingleInstance::Role ClaimElsewhere(const QString& folder, const QString& runtime,
                                    const QStringList& arguments) {
    SingleInstance::Role role = SingleInstance::Role::Alone;
    std::atomic<bool> done{false};
    std::thread later([&] {
        SingleInstance second(folder, runtime);
        role = second.Claim(arguments);
        done = true;
    });
    WAIT_PROCESSING_EVENTS(done.load(), 15000);
    later.join();
    return role;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void laterStartHandsOverItsPresetAsAnAbsolutePath();
    void laterStartWithoutArgumentsOnlyRaises();
    void staleSocketIsCleanedUp();
    void twoProgramFoldersRunSideBySide();
    void sameFolderByAnotherSpellingIsTheSameInstance();

  private:
    QTemporaryDir runtime_;
    QTemporaryDir homes_;
};

void SingleInstanceTest::laterStartHandsOverItsPresetAsAnAbsolutePath() {
    const QString home = homes_.filePath("a");
    QDir().mkpath(home);
    SingleInstance first(home, runtime_.path());
    QCOMPARE(first.Claim({}), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::Received);

    QFile preset(homes_.filePath("night.zrp"));
    QVERIFY(preset.open(QIODevice::WriteOnly));
    preset.close();
    const QString before = QDir::currentPath();
    QDir::setCurrent(homes_.path());
    const SingleInstance::Role role = ClaimElsewhere(home, runtime_.path(), {"night.zrp"});
    QDir::setCurrent(before);

    QCOMPARE(role, SingleInstance::Role::HandedOver);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toStringList(), QStringList{homes_.filePath("night.zrp")});

    // A missing file is passed as it was given: the window says it is not found.
    QCOMPARE(ClaimElsewhere(home, runtime_.path(), {"gone.zrp"}), SingleInstance::Role::HandedOver);
    QTRY_COMPARE(received.count(), 2);
    QCOMPARE(received.at(1).at(0).toStringList(), QStringList{"gone.zrp"});
}

void SingleInstanceTest::laterStartWithoutArgumentsOnlyRaises() {
    const QString home = homes_.filePath("b");
    QDir().mkpath(home);
    SingleInstance first(home, runtime_.path());
    QCOMPARE(first.Claim({}), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::Received);
    QCOMPARE(ClaimElsewhere(home, runtime_.path(), {}), SingleInstance::Role::HandedOver);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toStringList(), QStringList{});
}

void SingleInstanceTest::staleSocketIsCleanedUp() {
    const QString home = homes_.filePath("c");
    QDir().mkpath(home);
    SingleInstance probe(home, runtime_.path());
    // What a crashed instance leaves: a bound socket file that nobody listens on.
    const QByteArray path = QFile::encodeName(probe.ServerName());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    QVERIFY(QFile::exists(probe.ServerName()));

    SingleInstance next(home, runtime_.path());
    QCOMPARE(next.Claim({}), SingleInstance::Role::First);
    QSignalSpy received(&next, &SingleInstance::Received);
    QCOMPARE(ClaimElsewhere(home, runtime_.path(), {"x"}), SingleInstance::Role::HandedOver);
    QTRY_COMPARE(received.count(), 1);
    QVERIFY2(!QFile::exists(next.LockPath()), "the lock is held only while claiming");
}

void SingleInstanceTest::twoProgramFoldersRunSideBySide() {
    QDir().mkpath(homes_.filePath("d1"));
    QDir().mkpath(homes_.filePath("d2"));
    SingleInstance one(homes_.filePath("d1"), runtime_.path());
    SingleInstance two(homes_.filePath("d2"), runtime_.path());
    QCOMPARE(one.Claim({}), SingleInstance::Role::First);
    QCOMPARE(two.Claim({}), SingleInstance::Role::First);
    QVERIFY(one.ServerName() != two.ServerName());
}

void SingleInstanceTest::sameFolderByAnotherSpellingIsTheSameInstance() {
    QDir().mkpath(homes_.filePath("e/inner"));
    SingleInstance plain(homes_.filePath("e"), runtime_.path());
    SingleInstance spelled(homes_.filePath("e/inner/../") + "/", runtime_.path());
    QCOMPARE(plain.ServerName(), spelled.ServerName());
}

QTEST_MAIN(SingleInstanceTest)
#include "singleInstanceTest.moc"
