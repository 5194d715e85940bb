#pragma once

// The program-wide services of the window toolkit that window code calls: message boxes, the
// screen's pointer, pictures, one-line problem reports and the end of the program. The program
// uses QtToolkit; window tests hand in a fake that answers message boxes and records the rest.

#include "platform/dosfs.h"

#include <QPixmap>
#include <QString>
#include <optional>

namespace spindeck::ui {

class Toolkit {
public:
    enum Buttons { kOk = 0, kYesNo = 4 };
    enum Answer { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
    enum Pointer { kDefault = 0, kHourglass = 11, kArrowHourglass = 13 };

    virtual ~Toolkit() = default;
    // Modal, without an icon; the caption is the program title unless one is given.
    virtual int messageBox(const QString& text, int buttons = kOk, const QString& caption = {}) = 0;
    virtual void setScreenPointer(int pointer) = 0;
    // Ends the program at once: no unload handler runs.
    virtual void endProgram() = 0;
    // A problem the user should know of but that needs no answer (a picture that does not load).
    virtual void reportProblem(const QString& line) = 0;
};

// Loads a picture named by a DOS path, or says why it cannot.
struct PictureError {
    QString reason;
};
[[nodiscard]] Expected<QPixmap, PictureError> loadPicture(const platform::DosFileSystem& files,
                                                          const std::string& dosPath);

class QtToolkit final : public Toolkit {
public:
    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void setScreenPointer(int pointer) override;
    void endProgram() override;
    void reportProblem(const QString& line) override;

private:
    int m_pointer = kDefault;
};

} // namespace spindeck::ui
