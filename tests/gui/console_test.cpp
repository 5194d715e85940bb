// The console window that runs batch files: output streamed as it comes, standard error marked,
// keys typed into the window reaching the child, the window closing by itself after a clean run
// and staying open after a failed one, and the interpreter's command line built from the program's
// drives. A small child program stands in for the command interpreter.

#include "platform/console/consolerunner.h"
#include "platform/console/consolewindow.h"
#include "support/scratch.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>
#include <csignal>

using namespace spindeck::platform;
using spindeck::platform::testing_support::ScopedEnv;
using spindeck::platform::testing_support::ScratchDir;
using spindeck::platform::testing_support::writeText;

namespace {

const QString kChild = QStringLiteral(SPINDECK_CONSOLE_CHILD);

QString paneText(const ConsoleWindow& window) {
    return window.output->toPlainText();
}

// The lines of the pane that hold text the child wrote to standard error.
QStringList errorLines(const ConsoleWindow& window) {
    QStringList lines;
    for (QTextBlock block = window.output->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().foreground().color() == ConsoleWindow::errorColour()) {
                lines << block.text();
                break;
            }
        }
    }
    return lines;
}

// True once the process is gone or only waits to be reaped.
bool hasEnded(pid_t pid) {
    if (::kill(pid, 0) != 0) {
        return true;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
}

// The process the child started with "spawn", once it says so.
pid_t spawnedProcess(const ConsoleWindow& window) {
    if (!QTest::qWaitFor([&] { return paneText(window).contains("spawned "); })) {
        return 0;
    }
    return static_cast<pid_t>(paneText(window).section("spawned ", 1).section('\n', 0, 0).toInt());
}

// Answers the next message box with `button` once it is on screen, keeping its text.
void answerNextMessageBox(QMessageBox::StandardButton button, QString& text) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, button, &text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            timer->deleteLater();
            timer->stop();
            box->button(button)->click();
        }
    });
    timer->start();
}

// What the console window of a SyncShell call showed once its run had ended; the window is then
// closed as a user would.
struct SeenWindow {
    QString title;
    QString text;
    QString status;
};

SeenWindow runAndClose(ConsoleBatchRunner& runner, const std::string& commandLine, int& result) {
    SeenWindow seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<ConsoleWindow*>(QApplication::activeModalWidget());
        if (window != nullptr && !window->isRunning()) {
            seen = {window->windowTitle(), paneText(*window), window->statusLine->text()};
            poll.stop();
            QTest::keyClick(window->output, Qt::Key_Return);
        }
    });
    poll.start();
    result = runner.SyncShell(commandLine, BatchRunner::kNormalWindow);
    return seen;
}

// C: holds GAMES, D: is a second drive and the current one.
struct Drives {
    Drives() {
        std::filesystem::create_directories(scratch / "c" / "GAMES");
        std::filesystem::create_directories(scratch / "d");
    }
    ScratchDir scratch;
    DosFileSystem files{
        DriveMap({Drive{'C', scratch / "c", DriveKind::Fixed, {}}, Drive{'D', scratch / "d", DriveKind::Fixed, {}}}),
        "D:\\"};
};

} // namespace

class ConsoleTest : public QObject {
    Q_OBJECT

private slots:
    void outputStreamsAndKeysReachTheChild() {
        ConsoleWindow window(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window.show();
        window.start(kChild, {"C:\\QRV.BAT", "out", "first", "read", "out", "second"});
        QTRY_VERIFY(paneText(window).contains("first"));
        // The child waits for a key, so the line came before its end.
        QVERIFY(window.isRunning());
        QVERIFY(!paneText(window).contains("second"));
        QTest::keyClick(window.output, Qt::Key_D, Qt::ControlModifier);
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(paneText(window), QStringLiteral("first\ngot 4\nsecond\n"));
        QCOMPARE(window.exitStatus(), std::optional<int>(0));
    }

    void aFailedRunStaysUntilClosed_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter closes") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter closes") << int(Qt::Key_Enter);
        QTest::newRow("Escape closes") << int(Qt::Key_Escape);
        QTest::newRow("the Close button closes") << 0;
    }

    void aFailedRunStaysUntilClosed() {
        QFETCH(int, key);
        ConsoleWindow window(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window.show();
        window.start(kChild, {"C:\\QRV.BAT", "out", "COPY A B", "err", "File not found - A", "bytes", "C9CDBB0D0A",
                              "exit", "1"});
        QTRY_VERIFY(!window.isRunning());
        QVERIFY(window.isVisible());
        QCOMPARE(window.exitStatus(), std::optional<int>(1));
        QCOMPARE(errorLines(window), QStringList{"File not found - A"});
        // Box art in code page 437, as a DOS screen draws it.
        QVERIFY(paneText(window).contains(QStringLiteral("COPY A B\n")));
        QVERIFY(paneText(window).contains(QStringLiteral("\u2554\u2550\u2557\n")));
        QCOMPARE(window.statusLine->text(), QStringLiteral("A command of the batch file failed (exit status 1)."));
        QCOMPARE(window.closeButton->text(), QStringLiteral("Close"));
        if (key == 0) {
            QTest::mouseClick(window.closeButton, Qt::LeftButton);
        } else {
            QTest::keyClick(window.output, Qt::Key(key));
        }
        QTRY_VERIFY(!window.isVisible());
    }

    void theStatusLineSaysHowTheRunEnded_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("status");
        QTest::newRow("batch file unreadable")
            << QStringList{"exit", "2"} << "The batch file could not be read (exit status 2).";
        QTest::newRow("another status") << QStringList{"exit", "7"} << "The batch file ended with exit status 7.";
        QTest::newRow("interpreter crashed") << QStringList{"crash"} << "The command interpreter stopped unexpectedly.";
    }

    void theStatusLineSaysHowTheRunEnded() {
        QFETCH(QStringList, script);
        QFETCH(QString, status);
        ConsoleWindow window(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window.show();
        window.start(kChild, QStringList{"C:\\QRV.BAT"} + script);
        QTRY_VERIFY(!window.isRunning());
        QVERIFY(window.isVisible());
        QCOMPARE(window.statusLine->text(), status);
    }

    void theInterpreterIsFoundBesideTheProgramElseOnPath() {
        ScratchDir scratch;
        const auto onPath = scratch / "spindeck-cmd";
        writeText(onPath, "#!/bin/sh\n");
        std::filesystem::permissions(onPath, std::filesystem::perms::owner_all);
        const QString beside = QCoreApplication::applicationDirPath() + "/spindeck-cmd";
        const bool builtBeside = QFileInfo(beside).isExecutable();

        ScopedEnv path("PATH", scratch.path().string());
        QCOMPARE(findInterpreter(), builtBeside ? beside : QString::fromStdString(onPath.string()));
        ScopedEnv emptyPath("PATH", (scratch / "nothing here").string());
        QCOMPARE(findInterpreter(), builtBeside ? beside : QString());
    }

    void keysGiveTheBytesOfADosKeyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+D as test drivers send it") << int(Qt::Key_D) << ctrl << "d" << 4;
        QTest::newRow("Ctrl+D as an X server sends it") << int(Qt::Key_D) << ctrl << "\x04" << 4;
        QTest::newRow("Enter") << int(Qt::Key_Return) << none << "\r" << 13;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27;
        QTest::newRow("a letter") << int(Qt::Key_Y) << none << "y" << int('y');
        QTest::newRow("a shifted letter") << int(Qt::Key_Y) << int(Qt::ShiftModifier) << "Y" << int('Y');
        QTest::newRow("e acute is 0x82 in code page 437") << int(Qt::Key_Eacute) << none << "\u00e9" << 0x82;
        QTest::newRow("an arrow types nothing") << int(Qt::Key_Left) << none << "" << -1;
        QTest::newRow("the euro sign has no byte") << int(Qt::Key_unknown) << none << "\u20ac" << -1;
    }

    void keysGiveTheBytesOfADosKeyboard() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, byte);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        const auto sent = consoleByte(event);
        QCOMPARE(sent ? int(static_cast<unsigned char>(*sent)) : -1, byte);
    }

    void aChildThatCannotStartIsReported() {
        ConsoleWindow window(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window.show();
        window.start(QStringLiteral("/nonexistent/spindeck-cmd"), {"C:\\QRV.BAT"});
        QTRY_VERIFY(!window.isRunning());
        QVERIFY(window.isVisible());
        QVERIFY2(window.statusLine->text().startsWith("Cannot start /nonexistent/spindeck-cmd: "),
                 qPrintable(window.statusLine->text()));
        QCOMPARE(window.exitStatus(), std::nullopt);
    }

    void closingWhileRunningAsksBeforeStopping() {
        ConsoleWindow window(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window.show();
        // The child starts a process of its own, as the interpreter starts archive tools and DOS programs.
        window.start(kChild, {"C:\\QRV.BAT", "spawn", "read", "out", "not reached"});
        const pid_t started = spawnedProcess(window);
        QVERIFY(started > 0);

        QString question;
        answerNextMessageBox(QMessageBox::No, question);
        window.close();
        QCOMPARE(question, QStringLiteral("The batch file is still running. Stop it?"));
        QVERIFY(window.isRunning());
        QVERIFY(window.isVisible());

        answerNextMessageBox(QMessageBox::Yes, question);
        window.close();
        QTRY_VERIFY(!window.isRunning());
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!paneText(window).contains("not reached"));
        QCOMPARE(window.exitStatus(), std::nullopt);
        QTRY_VERIFY(hasEnded(started));
    }

    void aWindowThatGoesAwayEndsItsRun() {
        auto window = std::make_unique<ConsoleWindow>(QStringLiteral("Spindeck - C:\\QRV.BAT"));
        window->show();
        window->start(kChild, {"C:\\QRV.BAT", "spawn", "read"});
        const pid_t started = spawnedProcess(*window);
        QVERIFY(started > 0);
        window.reset();
        QTRY_VERIFY(hasEnded(started));
    }

    void syncShellHandsTheInterpreterTheCurrentDirectories() {
        Drives drives;
        QVERIFY(drives.files.changeDirectory("C:\\GAMES"));
        ConsoleBatchRunner runner(drives.files, kChild);
        int result = 0;
        const SeenWindow seen = runAndClose(runner, "c:\\qrv.bat args exit 1", result);
        QCOMPARE(seen.title, QStringLiteral("Spindeck - C:\\QRV.BAT ARGS EXIT 1"));
        QCOMPARE(seen.text, QStringLiteral("--cd|C:\\GAMES|--cd|D:\\|c:\\qrv.bat|args|exit|1\n"));
        QCOMPARE(result, 1);
    }

    void syncShellReturnsByItselfAfterACleanRun() {
        Drives drives;
        ConsoleBatchRunner runner(drives.files, kChild);
        QCOMPARE(runner.SyncShell("c:\\qrv.bat out done", BatchRunner::kNormalWindow), 0);
    }

    void syncShellSaysWhenTheInterpreterIsMissing() {
        Drives drives;
        ConsoleBatchRunner runner(drives.files, QString());
        int result = 0;
        const SeenWindow seen = runAndClose(runner, "c:\\qrv.bat", result);
        QCOMPARE(seen.status,
                 QStringLiteral("Cannot find the command interpreter spindeck-cmd: it is neither beside the program "
                                "nor on PATH."));
        QCOMPARE(result, BatchRunner::kNotRun);
    }
};

QTEST_MAIN(ConsoleTest)
#include "console_test.moc"
