#include "support/scratch.h"
#include "ui/dirlistbox.h"
#include "ui/drivelistbox.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <optional>

namespace spindeck::ui {
namespace {

namespace fs = std::filesystem;
using platform::DosFileSystem;
using platform::Drive;
using platform::DriveKind;
using platform::DriveMap;
using platform::testing_support::ScratchDir;
using platform::testing_support::writeText;

// C: fixed "DOS", D: removable "Disc", E: CD-ROM without a label; the program starts in C:\GAMES.
//
//   c/GAMES/DEMO/  c/GAMES/alpha/  c/GAMES/beta/  c/GAMES/Zeta/  c/GAMES/readme.txt
//   c/GAMES/odd\name/   (a host name no DOS path can hold)
//   d/SUB/
//   e/
class Disc {
public:
    Disc() {
        for (const char* dir : {"GAMES/DEMO", "GAMES/alpha", "GAMES/beta", "GAMES/Zeta", "GAMES/odd\\name"}) {
            fs::create_directories(c() / dir);
        }
        writeText(c() / "GAMES/readme.txt", "read me");
        fs::create_directories(m_dir / "d/SUB");
        fs::create_directories(m_dir / "e");
        // Given out of letter order: the drive list still shows them in letter order.
        m_files.emplace(
            DriveMap({Drive{'E', m_dir / "e", DriveKind::CdRom, {}}, Drive{'C', c(), DriveKind::Fixed, "DOS"},
                      Drive{'D', m_dir / "d", DriveKind::Removable, "Disc"}}),
            "C:\\GAMES");
    }

    [[nodiscard]] DosFileSystem& files() { return *m_files; }
    [[nodiscard]] fs::path c() const { return m_dir / "c"; }
    // Makes D: not ready, as when its disc is taken out.
    void takeOutDisc() const { fs::remove_all(m_dir / "d"); }

private:
    ScratchDir m_dir;
    std::optional<DosFileSystem> m_files;
};

QStringList textsOf(const QAbstractItemModel& model) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, 0).data().toString();
    }
    return texts;
}

// list(i) for every entry, top down; checks that list() is empty just outside both ends.
QStringList pathsOf(const DirListBox& box) {
    QStringList paths;
    int index = -1;
    for (; !box.list(index).isEmpty(); --index) {
        paths.prepend(box.list(index));
    }
    for (int i = 0; i < box.listCount(); ++i) {
        paths << box.list(i);
    }
    if (!box.list(box.listCount()).isEmpty() || index == -1) {
        paths << QStringLiteral("<list() wrong at an end>");
    }
    return paths;
}

class ListBoxesTest final : public QObject {
    Q_OBJECT

private slots:
    void dirListEntries_data();
    void dirListEntries();
    void setPathErrorsLeaveTheList_data();
    void setPathErrorsLeaveTheList();
    void changedOnlyWhenThePathChanges();
    void clickAndArrowsHighlightDoubleClickOpens();
    void refreshKeepsTheHighlightedName();
    void unreadableDirectoryOpensEmpty();
    void driveEntries_data();
    void driveEntries();
    void setDrive_data();
    void setDrive();
    void userChoiceRaisesChanged();
};

void ListBoxesTest::dirListEntries_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("subdirectories");

    const auto row = [](const char* name, const QString& path, const QString& expectedPath, const QStringList& texts,
                        const QStringList& paths, int subdirectories) {
        QTest::newRow(name) << path << expectedPath << texts << paths << subdirectories;
    };
    const QStringList gamesTexts{"C:\\", "GAMES", "alpha", "beta", "DEMO", "Zeta"};
    const QStringList gamesPaths{
        "C:\\", "C:\\GAMES", "C:\\GAMES\\alpha", "C:\\GAMES\\beta", "C:\\GAMES\\DEMO", "C:\\GAMES\\Zeta"};
    const QStringList demoTexts{"C:\\", "GAMES", "DEMO"};
    const QStringList demoPaths{"C:\\", "C:\\GAMES", "C:\\GAMES\\DEMO"};

    row("root", "C:\\", "C:\\", {"C:\\", "GAMES"}, {"C:\\", "C:\\GAMES"}, 1);
    row("subdirectories sorted without regard to case, files and odd names left out", "C:\\GAMES", "C:\\GAMES",
        gamesTexts, gamesPaths, 4);
    row("two levels down, no subdirectories", "C:\\GAMES\\DEMO", "C:\\GAMES\\DEMO", demoTexts, demoPaths, 0);
    row("relative to the current directory", "DEMO", "C:\\GAMES\\DEMO", demoTexts, demoPaths, 0);
    row("typed in another case, shown in the host's", "c:\\games\\zeta", "C:\\GAMES\\Zeta", {"C:\\", "GAMES", "Zeta"},
        {"C:\\", "C:\\GAMES", "C:\\GAMES\\Zeta"}, 0);
    row("dot-dot and forward slashes", "C:/GAMES/DEMO/..", "C:\\GAMES", gamesTexts, gamesPaths, 4);
    row("drive letter alone, another drive's root", "e:", "E:\\", {"E:\\"}, {"E:\\"}, 0);
}

void ListBoxesTest::dirListEntries() {
    QFETCH(QString, path);
    QFETCH(QString, expectedPath);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, paths);
    QFETCH(int, subdirectories);
    Disc disc;
    DirListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(box.path(), QStringLiteral("C:\\GAMES"));
    box.setListIndex(0);

    QVERIFY(box.setPath(path));

    QCOMPARE(box.path(), expectedPath);
    QCOMPARE(textsOf(*box.model()), texts);
    QCOMPARE(pathsOf(box), paths);
    QCOMPARE(box.listIndex(), -1);
    QCOMPARE(box.list(box.listIndex()), expectedPath);
    QCOMPARE(box.listCount(), subdirectories);
    QCOMPARE(disc.files().currentDrive(), 'C');
    QCOMPARE(disc.files().currentDirectory('C'), "C:\\GAMES");
}

void ListBoxesTest::setPathErrorsLeaveTheList_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("number");

    QTest::newRow("missing directory") << "C:\\NOPE" << 76;
    QTest::newRow("missing directory on the way") << "C:\\NOPE\\DEMO" << 76;
    QTest::newRow("a file, not a directory") << "C:\\GAMES\\readme.txt" << 76;
    QTest::newRow("wildcard") << "C:\\GAM*" << 76;
    QTest::newRow("root of a drive whose root was removed") << "D:\\" << 68;
    QTest::newRow("directory on a drive whose root was removed") << "D:\\SUB" << 68;
    QTest::newRow("unmapped drive") << "Q:\\" << 68;
}

void ListBoxesTest::setPathErrorsLeaveTheList() {
    QFETCH(QString, path);
    QFETCH(int, number);
    Disc disc;
    disc.takeOutDisc();
    DirListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    box.setListIndex(2);
    const QStringList before = textsOf(*box.model());
    QSignalSpy changed(&box, &DirListBox::changed);
    QSignalSpy clicked(&box, &DirListBox::clicked);

    const auto result = box.setPath(path);

    QVERIFY(!result);
    QCOMPARE(result.error().number, number);
    QCOMPARE(result.error().description,
             number == 68 ? ListError::deviceUnavailable().description : QStringLiteral("Path not found"));
    QCOMPARE(box.path(), QStringLiteral("C:\\GAMES"));
    QCOMPARE(textsOf(*box.model()), before);
    QCOMPARE(box.listIndex(), 2);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(clicked.count(), 0);
}

void ListBoxesTest::changedOnlyWhenThePathChanges() {
    Disc disc;
    DirListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&box, &DirListBox::changed);
    QSignalSpy clicked(&box, &DirListBox::clicked);

    QVERIFY(box.setPath("C:\\GAMES\\DEMO"));
    QCOMPARE(changed.count(), 1);

    // The same path, however written, reads the entries again and raises nothing.
    fs::create_directories(disc.c() / "GAMES/DEMO/LEVELS");
    box.setListIndex(-2);
    clicked.clear();
    QVERIFY(box.setPath("c:\\games\\demo\\"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.listCount(), 1);
    QCOMPARE(box.list(0), "C:\\GAMES\\DEMO\\LEVELS");
    QCOMPARE(box.listIndex(), -1);
    QCOMPARE(clicked.count(), 0);

    QVERIFY(box.setPath("C:\\"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(disc.files().currentDirectory('C'), "C:\\GAMES");
}

void ListBoxesTest::clickAndArrowsHighlightDoubleClickOpens() {
    Disc disc;
    DirListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    box.resize(240, 320);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &DirListBox::changed);
    QSignalSpy clicked(&box, &DirListBox::clicked);
    const auto pointAt = [&box](int index) {
        return box.visualRect(box.model()->index(box.model()->rowCount() - box.listCount() + index, 0)).center();
    };
    // Through the window, as the windowing system delivers it: press, release, press, release.
    const auto doubleClick = [&box, &pointAt](int index) {
        QTest::mouseDClick(box.windowHandle(), Qt::LeftButton, {}, box.viewport()->mapTo(&box, pointAt(index)));
    };

    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, pointAt(1));
    QCOMPARE(box.listIndex(), 1);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, pointAt(1));
    QCOMPARE(clicked.count(), 1); // the highlight did not move

    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.listIndex(), 2);
    QTest::keyClick(&box, Qt::Key_Home);
    QCOMPARE(box.listIndex(), -2);
    QCOMPARE(clicked.count(), 3);

    box.setListIndex(-1);
    QCOMPARE(clicked.count(), 4);
    box.setListIndex(-1);
    box.setListIndex(4);  // past the last subdirectory
    box.setListIndex(-3); // above the root
    QCOMPARE(box.listIndex(), -1);
    QCOMPARE(clicked.count(), 4);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(box.path(), "C:\\GAMES");

    doubleClick(2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.path(), "C:\\GAMES\\DEMO");
    QCOMPARE(box.listIndex(), -1);

    // The root, an ancestor, opens the same way.
    doubleClick(-3);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(box.path(), "C:\\");

    // A directory removed behind the list's back opens nothing and leaves the list.
    QVERIFY(box.setPath("C:\\GAMES"));
    fs::remove(disc.c() / "GAMES/Zeta");
    changed.clear();
    doubleClick(3);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(box.path(), "C:\\GAMES");
    QCOMPARE(textsOf(*box.model()), (QStringList{"C:\\", "GAMES", "alpha", "beta", "DEMO"}));
}

void ListBoxesTest::refreshKeepsTheHighlightedName() {
    Disc disc;
    DirListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&box, &DirListBox::changed);
    QSignalSpy clicked(&box, &DirListBox::clicked);
    box.setListIndex(1);
    QCOMPARE(box.list(1), "C:\\GAMES\\beta");
    clicked.clear();

    fs::create_directories(disc.c() / "GAMES/Aardvark");
    box.refresh();
    QCOMPARE(box.listCount(), 5);
    QCOMPARE(box.list(0), "C:\\GAMES\\Aardvark");
    QCOMPARE(box.listIndex(), 2);
    QCOMPARE(box.list(box.listIndex()), "C:\\GAMES\\beta");

    // The highlighted directory is gone: the highlight goes back to the open directory.
    fs::remove(disc.c() / "GAMES/beta");
    box.refresh();
    QCOMPARE(box.listCount(), 4);
    QCOMPARE(box.listIndex(), -1);

    box.setListIndex(-2);
    clicked.clear();
    box.refresh();
    QCOMPARE(box.listIndex(), -2);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(changed.count(), 0);
}

void ListBoxesTest::unreadableDirectoryOpensEmpty() {
    if (::geteuid() == 0) {
        QSKIP("root reads every directory");
    }
    Disc disc;
    fs::create_directories(disc.c() / "GAMES/LOCKED/INSIDE");
    fs::permissions(disc.c() / "GAMES/LOCKED", fs::perms::none);
    DirListBox box(disc.files(), nullptr);

    QVERIFY(box.setPath("C:\\GAMES\\LOCKED"));
    QCOMPARE(box.path(), "C:\\GAMES\\LOCKED");
    QCOMPARE(box.listCount(), 0);
}

void ListBoxesTest::driveEntries_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("drive");

    QTest::newRow("current drive C:") << "C:\\GAMES"
                                      << "c: [DOS]";
    QTest::newRow("current drive E:, no label") << "E:\\"
                                                << "e:";
}

void ListBoxesTest::driveEntries() {
    QFETCH(QString, start);
    QFETCH(QString, drive);
    Disc disc;
    QVERIFY(disc.files().changeDirectory(start.toStdString()));
    QVERIFY(disc.files().setCurrentDrive(start.front().toLatin1()));
    DriveListBox box(disc.files(), nullptr);
    QAbstractItemModelTester tester(box.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    QCOMPARE(textsOf(*box.model()), (QStringList{"c: [DOS]", "d: [Disc]", "e:"}));
    QCOMPARE(box.listCount(), 3);
    QCOMPARE(box.list(1), "d: [Disc]");
    QCOMPARE(box.list(3), QString());
    QCOMPARE(box.list(-1), QString());
    QCOMPARE(box.drive(), drive);
}

void ListBoxesTest::setDrive_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number"); // 0 for success
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("changes");

    QTest::newRow("another drive") << "e:" << 0 << "e:" << 1;
    QTest::newRow("letter alone, upper case") << "E" << 0 << "e:" << 1;
    QTest::newRow("entry text of the current drive") << "c: [DOS]" << 0 << "c: [DOS]" << 0;
    QTest::newRow("a path on the current drive") << "C:\\GAMES" << 0 << "c: [DOS]" << 0;
    QTest::newRow("empty text") << "" << 68 << "c: [DOS]" << 0;
    QTest::newRow("unmapped letter") << "q:" << 68 << "c: [DOS]" << 0;
    QTest::newRow("not a letter") << "1:" << 68 << "c: [DOS]" << 0;
    QTest::newRow("drive whose root was removed") << "d: [Disc]" << 68 << "c: [DOS]" << 0;
}

void ListBoxesTest::setDrive() {
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, drive);
    QFETCH(int, changes);
    Disc disc;
    disc.takeOutDisc();
    DriveListBox box(disc.files(), nullptr);
    QSignalSpy changed(&box, &DriveListBox::changed);

    const auto result = box.setDrive(text);

    QCOMPARE(result ? 0 : result.error().number, number);
    if (!result) {
        QCOMPARE(result.error().description, QStringLiteral("Device unavailable"));
    }
    QCOMPARE(box.drive(), drive);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(disc.files().currentDrive(), 'C');
}

void ListBoxesTest::userChoiceRaisesChanged() {
    Disc disc;
    disc.takeOutDisc();
    DriveListBox box(disc.files(), nullptr);
    QSignalSpy changed(&box, &DriveListBox::changed);

    // The user may pick a drive that is not ready; the window code then sets the list back.
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.drive(), "d: [Disc]");
    QCOMPARE(changed.count(), 1);

    QVERIFY(box.setDrive("c: [DOS]"));
    QCOMPARE(box.drive(), "c: [DOS]");
    QCOMPARE(changed.count(), 2);
    QCOMPARE(disc.files().currentDrive(), 'C');
}

} // namespace
} // namespace spindeck::ui

QTEST_MAIN(spindeck::ui::ListBoxesTest)
#include "listboxes_test.moc"
