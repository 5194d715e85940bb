#include "consolerunner.h"

#include "consolewindow.h"
#include "platform/codepage.h"
#include "platform/dospath.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace spindeck::platform {

namespace {

const QString kInterpreterName = QStringLiteral("spindeck-cmd");

QStringList toQStringList(const std::vector<std::string>& words) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(words.size()));
    for (const std::string& word : words) {
        list << QString::fromStdString(word);
    }
    return list;
}

} // namespace

QString findInterpreter() {
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(kInterpreterName));
    if (beside.isFile() && beside.isExecutable()) {
        return beside.filePath();
    }
    return QStandardPaths::findExecutable(kInterpreterName);
}

QString consoleCaption(const std::string& commandLine) {
    return QStringLiteral("Spindeck - ") + QString::fromStdU16String(ansiText(dospath::upperAscii(commandLine)));
}

ConsoleBatchRunner::ConsoleBatchRunner(const DosFileSystem& files, std::optional<QString> interpreter)
    : m_files(files), m_interpreter(std::move(interpreter)) {}

int ConsoleBatchRunner::SyncShell(const std::string& commandLine, int /*showState*/) {
    // No parent: a window of the caller that went away during the run would take this one along.
    ConsoleWindow window(consoleCaption(commandLine));
    const QString interpreter = m_interpreter ? *m_interpreter : findInterpreter();
    // The caller shows the busy pointer for the whole install; the user types into this window.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    window.show();
    window.activateWindow();
    if (interpreter.isEmpty()) {
        window.showFailure(QApplication::translate("spindeck::platform::ConsoleWindow",
                                                   "Cannot find the command interpreter %1: it is neither beside "
                                                   "the program nor on PATH.")
                               .arg(kInterpreterName));
    } else {
        window.start(interpreter, toQStringList(interpreterArguments(m_files, commandLine)));
    }
    window.exec();
    QApplication::restoreOverrideCursor();
    return window.exitStatus().value_or(kNotRun);
}

} // namespace spindeck::platform
