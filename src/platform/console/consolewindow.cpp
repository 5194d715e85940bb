#include "consolewindow.h"

#include "platform/codepage.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>
#include <unistd.h>

namespace spindeck::platform {

namespace {

constexpr int kColumns = 80;
constexpr int kRows = 25;
// A child that ignores the request to stop is killed after this long.
constexpr int kStopGraceMilliseconds = 3000;

const QColor kScreenColour(0, 0, 0);
const QColor kTextColour(0xC0, 0xC0, 0xC0);

std::optional<char> oemByte(char16_t character) {
    if (character > 0 && character < 0x80) {
        return static_cast<char>(character);
    }
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (oemCharacter(static_cast<unsigned char>(byte)) == character) {
            return static_cast<char>(byte);
        }
    }
    return std::nullopt;
}

bool isEnterOrEscape(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter || event.key() == Qt::Key_Escape;
}

QFont screenFont() {
    // DejaVu carries every box-drawing glyph of the DOS screen.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QString exitStatusText(int exitCode) {
    switch (exitCode) {
    case 1:
        return ConsoleWindow::tr("A command of the batch file failed (exit status 1).");
    case 2:
        return ConsoleWindow::tr("The batch file could not be read (exit status 2).");
    default:
        return ConsoleWindow::tr("The batch file ended with exit status %1.").arg(exitCode);
    }
}

} // namespace

std::optional<char> consoleByte(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers().testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<char>(key - Qt::Key_A + 1);
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Tab:
        return '\t';
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return std::nullopt;
    }
    return oemByte(text[0].unicode());
}

QColor ConsoleWindow::errorColour() {
    return {0xFF, 0x55, 0x55};
}

ConsoleWindow::ConsoleWindow(const QString& caption, QWidget* parent)
    : QDialog(parent), output(new QPlainTextEdit(this)), statusLine(new QLabel(this)),
      closeButton(new QPushButton(tr("Stop"), this)) {
    setWindowTitle(caption);
    setModal(true);

    output->setReadOnly(true);
    output->setUndoRedoEnabled(false);
    output->setFont(screenFont());
    QPalette screen = output->palette();
    screen.setColor(QPalette::Base, kScreenColour);
    screen.setColor(QPalette::Text, kTextColour);
    output->setPalette(screen);
    const QFontMetrics metrics(output->font());
    const int margins = 2 * (output->frameWidth() + static_cast<int>(output->document()->documentMargin()));
    output->setMinimumSize(metrics.horizontalAdvance(QString(kColumns, QLatin1Char('M'))) + margins +
                               output->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                           metrics.lineSpacing() * kRows + margins);
    output->installEventFilter(this);

    // The pane keeps the focus, so that every key goes to the child; the button is for the mouse.
    closeButton->setFocusPolicy(Qt::NoFocus);
    connect(closeButton, &QPushButton::clicked, this, &ConsoleWindow::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLine, 1);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(output);
    layout->addLayout(bottom);
    output->setFocus();

    connect(&m_process, &QProcess::readyReadStandardOutput, this, [this] { readStream(Stream::Output); });
    connect(&m_process, &QProcess::readyReadStandardError, this, [this] { readStream(Stream::Error); });
    connect(&m_process, &QProcess::finished, this, &ConsoleWindow::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &ConsoleWindow::onErrorOccurred);
}

ConsoleWindow::~ConsoleWindow() {
    if (m_process.state() != QProcess::NotRunning) {
        // The run's end is of no interest to a window that is going away.
        m_process.disconnect(this);
        signalChild(SIGKILL);
        m_process.waitForFinished();
    }
}

void ConsoleWindow::start(const QString& program, const QStringList& arguments) {
    m_running = true;
    statusLine->setText(tr("Running..."));
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    // A group of its own, so that stopping the run reaches what the interpreter started too.
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.start(QIODevice::ReadWrite);
}

void ConsoleWindow::showFailure(const QString& message) {
    endRun(message, true);
}

bool ConsoleWindow::isRunning() const {
    return m_running;
}

void ConsoleWindow::reject() {
    if (m_running) {
        stopAfterAsking();
        return;
    }
    QDialog::reject();
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == output && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (m_running ? consoleByte(key).has_value() : isEnterOrEscape(key)) {
            // Taken here rather than by a shortcut or the pane's own key bindings.
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                handleKey(key);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConsoleWindow::handleKey(const QKeyEvent& event) {
    if (!m_running) {
        QDialog::reject();
        return;
    }
    if (const auto byte = consoleByte(event)) {
        m_process.write(&*byte, 1);
    }
}

void ConsoleWindow::readStream(Stream stream) {
    const QByteArray bytes =
        stream == Stream::Output ? m_process.readAllStandardOutput() : m_process.readAllStandardError();
    OemStreamDecoder& decoder = stream == Stream::Output ? m_outputDecoder : m_errorDecoder;
    append(decoder.decode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))), stream);
}

void ConsoleWindow::append(const std::u16string& text, Stream stream) {
    if (text.empty()) {
        return;
    }
    // Follow the output unless the user has scrolled back to read.
    QScrollBar* scrollBar = output->verticalScrollBar();
    const bool following = scrollBar->value() == scrollBar->maximum();
    QTextCursor cursor(output->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(stream == Stream::Error ? errorColour() : kTextColour);
    cursor.insertText(QString::fromStdU16String(text), format);
    if (following) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

void ConsoleWindow::onFinished(int exitCode, QProcess::ExitStatus exitStatus) {
    readStream(Stream::Output);
    readStream(Stream::Error);
    append(m_outputDecoder.finish(), Stream::Output);
    append(m_errorDecoder.finish(), Stream::Error);
    if (m_stopRequested) {
        endRun(tr("Stopped."), true);
        QDialog::reject();
        return;
    }
    if (exitStatus == QProcess::CrashExit) {
        endRun(tr("The command interpreter stopped unexpectedly."), true);
        return;
    }
    m_exitStatus = exitCode;
    if (exitCode == 0) {
        endRun(tr("Done."), false);
        accept();
        return;
    }
    endRun(exitStatusText(exitCode), true);
}

void ConsoleWindow::onErrorOccurred(QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
        endRun(tr("Cannot start %1: %2.").arg(m_process.program(), m_process.errorString()), true);
    }
}

void ConsoleWindow::endRun(const QString& status, bool failed) {
    m_running = false;
    statusLine->setText(status);
    if (failed) {
        QPalette palette = statusLine->palette();
        palette.setColor(QPalette::WindowText, errorColour().darker(150));
        statusLine->setPalette(palette);
    }
    closeButton->setText(tr("Close"));
    closeButton->setDefault(true);
}

void ConsoleWindow::stopAfterAsking() {
    // Like the program's other message boxes: no icon.
    QMessageBox question(QMessageBox::NoIcon, tr("Spindeck"), tr("The batch file is still running. Stop it?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::No);
    if (question.exec() != QMessageBox::Yes || !m_running || m_stopRequested) {
        return;
    }
    m_stopRequested = true;
    statusLine->setText(tr("Stopping..."));
    signalChild(SIGTERM);
    QTimer::singleShot(kStopGraceMilliseconds, this, [this] {
        if (m_running) {
            signalChild(SIGKILL);
        }
    });
}

void ConsoleWindow::signalChild(int signal) {
    const auto pid = static_cast<pid_t>(m_process.processId());
    if (pid <= 0) {
        return;
    }
    if (::kill(-pid, signal) != 0) {
        ::kill(pid, signal);
    }
}

} // namespace spindeck::platform
