#pragma once

// A whole program for window tests: drives C: and D: on temporary directories, the program in
// D:\GAMES\MENU, a removable drive E: without a medium, fake sound and toolkit, and the windows
// ready to start.

#include "app/forms.h"
#include "app/mainform.h"
#include "app/splashform.h"
#include "support/fakes.h"
#include "support/scratch.h"

#include <QImage>
#include <QtTest>

namespace spindeck::fakes {

using platform::testing_support::ScratchDir;
using platform::testing_support::writeText;

class Program {
public:
    // `extraDrives` more fixed drives, from F: on, make the drive lists longer.
    explicit Program(platform::DriveKind discKind = platform::DriveKind::Fixed, int soundDevices = 1,
                     int extraDrives = 0)
        : cues(log, soundDevices), music(log), shell(log), toolkit(log) {
        std::filesystem::create_directories(scratch / "c");
        std::filesystem::create_directories(programDir());
        std::vector<platform::Drive> drives{platform::Drive{'C', scratch / "c", platform::DriveKind::Fixed, ""},
                                            platform::Drive{'D', scratch / "d", discKind, "DISC"},
                                            // A removable drive without a medium: its root does not exist.
                                            platform::Drive{'E', scratch / "e", platform::DriveKind::Removable, ""}};
        for (int i = 0; i < extraDrives; ++i) {
            const char letter = static_cast<char>('F' + i);
            std::filesystem::create_directories(scratch / std::string(1, letter));
            drives.push_back(platform::Drive{letter, scratch / std::string(1, letter), platform::DriveKind::Fixed, ""});
        }
        files = std::make_unique<platform::DosFileSystem>(platform::DriveMap(std::move(drives)), "D:\\GAMES\\MENU");
        services =
            std::make_unique<ui::Services>(ui::Services{*files, cues, music, shell, toolkit, settings, "D:\\GAMES\\MENU"});
        forms = std::make_unique<app::Forms>(*services);
    }

    [[nodiscard]] std::filesystem::path programDir() const { return scratch / "d" / "GAMES" / "MENU"; }
    void writeIni(std::string_view text) const { writeText(programDir() / "QRV.INI", text); }
    void writePicture(const std::string& name, const QColor& colour) const {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(QString::fromStdString((programDir() / name).string()), "BMP"));
    }

    // Runs the start until the main window stands alone on screen.
    app::MainForm& start() {
        app::startUp(*forms, *services);
        [&] { QTRY_VERIFY(forms->main.loaded() && forms->main.get().isVisible() && !forms->splash.loaded()); }();
        return forms->main.get();
    }

    ScratchDir scratch;
    CallLog log;
    FakeCuePlayer cues;
    FakeMusicControl music;
    FakeBatchRunner shell;
    FakeToolkit toolkit;
    config::SharedSettings settings;
    std::unique_ptr<platform::DosFileSystem> files;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<app::Forms> forms;
};

} // namespace spindeck::fakes
