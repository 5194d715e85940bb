#pragma once

// The background music and the sound switch of the main window. The music control plays one MIDI
// file; its status event, once a second, starts the piece again when it has played to its end.
// The check marks of Music On (F5) and Sound On (F6) are the states of the two switches.

#include "ui/services.h"

#include <QAction>

namespace spindeck::media {

class Music final {
public:
    Music(ui::Services& services, QAction& mnuMusicOn);

    // The start at the end of the main window's set-up.
    void start();
    // The status event: a piece that has played to its end starts again.
    void statusUpdate();
    // Music On, from the menu or F5.
    void toggle();
    // The first steps of leaving through Exit.
    void stopForExit();

private:
    [[nodiscard]] std::string musicFile() const;

    ui::Services& m_services;
    QAction& m_mnuMusicOn;
};

// Sound On, from the menu or F6: the check mark decides, never the flag.
void toggleSound(ui::Services& services, QAction& mnuSoundOn);

} // namespace spindeck::media
