#include "toolkit.h"

#include "designs.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace spindeck::ui {

Expected<QPixmap, PictureError> loadPicture(const platform::DosFileSystem& files, const std::string& dosPath) {
    const auto host = files.resolve(dosPath);
    if (!host) {
        return Unexpected{PictureError{QString::fromStdString(host.error().message())}};
    }
    QPixmap picture;
    if (!picture.load(QString::fromStdString(host->string()))) {
        return Unexpected{PictureError{QString::fromStdString(dosPath) + ": not a picture"}};
    }
    return picture;
}

int QtToolkit::messageBox(const QString& text, int buttons, const QString& caption) {
    // Texts break lines with LF CR, CR LF or LF alike; the box shows each as one line break.
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n")).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? QString(kProgramTitle) : caption, shown,
                    buttons == kYesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes) {
        return kAnswerYes;
    }
    return answer == QMessageBox::No ? kAnswerNo : kAnswerOk;
}

void QtToolkit::setScreenPointer(int pointer) {
    if (m_pointer != kDefault) {
        QApplication::restoreOverrideCursor();
    }
    m_pointer = pointer;
    if (pointer == kHourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (pointer == kArrowHourglass) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
}

void QtToolkit::endProgram() {
    QApplication::exit(0);
}

void QtToolkit::reportProblem(const QString& line) {
    std::fprintf(stderr, "spindeck: %s\n", qPrintable(line));
}

} // namespace spindeck::ui
