#pragma once

// The console window: a modal dialog that runs one child process and shows what it prints as a
// DOS screen would (code page 437, a monospace face, light grey on black). Standard output and
// standard error stream into the pane as they come, standard error in red; keys typed into the
// window go to the child's standard input one byte each, so that PAUSE and CHOICE can be
// answered. When the child exits with status 0 the window closes by itself; otherwise it stays
// open with a status line and a Close button (Enter and Escape close it too), so that the user
// can read what went wrong.
//
// Closing the window while the child runs asks whether to stop the run; stopping ends the child
// and everything it started (its process group), then closes the window.

#include "platform/oemstream.h"

#include <QColor>
#include <QDialog>
#include <QProcess>
#include <QStringList>
#include <optional>

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace spindeck::platform {

// The byte a key sends to the child: 1 to 26 for Ctrl with a letter, 13 for Enter, 8 for
// Backspace, 27 for Escape, 9 for Tab, else the typed character in code page 437. Derived from
// the key and its modifiers first, since the text of Ctrl+letter differs between X servers and
// test drivers. Nothing for keys that type no character the child could read.
[[nodiscard]] std::optional<char> consoleByte(const QKeyEvent& event);

class ConsoleWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ConsoleWindow(const QString& caption, QWidget* parent = nullptr);
    ~ConsoleWindow() override;
    Q_DISABLE_COPY_MOVE(ConsoleWindow)

    // Starts the child without a shell. The window should be shown; the child's end decides
    // whether it closes.
    void start(const QString& program, const QStringList& arguments);
    // Ends a run that could not begin: shows the message and the failure status.
    void showFailure(const QString& message);

    [[nodiscard]] bool isRunning() const;
    // The child's exit status once it has exited by itself; nullopt before, and when it could not
    // start, crashed or was stopped.
    [[nodiscard]] std::optional<int> exitStatus() const { return m_exitStatus; }
    // The colour of what the child wrote to standard error.
    [[nodiscard]] static QColor errorColour();

    QPlainTextEdit* const output;
    QLabel* const statusLine;
    QPushButton* const closeButton;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stream { Output, Error };

    void readStream(Stream stream);
    void append(const std::u16string& text, Stream stream);
    void onFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void onErrorOccurred(QProcess::ProcessError error);
    void endRun(const QString& status, bool failed);
    void stopAfterAsking();
    void signalChild(int signal);
    void handleKey(const QKeyEvent& event);

    QProcess m_process;
    OemStreamDecoder m_outputDecoder;
    OemStreamDecoder m_errorDecoder;
    std::optional<int> m_exitStatus;
    bool m_running = false;
    bool m_stopRequested = false;
};

} // namespace spindeck::platform
