#include "designs.h"

#include "twips.h"

#include <QMenuBar>
#include <QPainter>

namespace spindeck::ui {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kBoxBlue(0, 0, 255);
const QColor kBoxText(192, 192, 255);
const QColor kTitleBack(192, 0, 192);
const QColor kTitleText(255, 255, 0);

template <class Widget> Widget* place(Widget* widget, double left, double top, double width, double height) {
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

QGroupBox* frame(const QString& caption, QWidget* parent, double left, double top, double width, double height) {
    return place(new QGroupBox(caption, parent), left, top, width, height);
}

// A caption as a screen reader speaks it: without the "&" that marks the access key ("&&" is one "&").
QString withoutAccessKey(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
        }
        text += caption[i];
    }
    return text;
}

QPushButton* button(const QString& caption, QWidget* parent, double left, double top, double width, double height) {
    auto* control = place(new QPushButton(caption, parent), left, top, width, height);
    control->setAccessibleName(withoutAccessKey(caption));
    return control;
}

// A check box whose caption is a label of its own beside it.
void labelFor(Label* label, QCheckBox* box) {
    label->setBuddy(box);
    box->setAccessibleName(label->text());
}

// Screen readers and the tools that drive windows through the accessibility tree find a control by
// its name. A control inside a frame is named by the frame's caption, unless it has a name already
// (the check boxes in a frame are named by their labels).
void nameControlsAfterFrames(QWidget& window) {
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        const QString name = withoutAccessKey(frame->title());
        for (QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (qobject_cast<QLabel*>(control) == nullptr && control->accessibleName().isEmpty()) {
                control->setAccessibleName(name);
            }
        }
    }
}

void colour(QWidget* widget, const QColor& back, const QColor& fore) {
    setBackColor(*widget, back);
    setForeColor(*widget, fore);
}

QFont designFont(const QString& face, double points) {
    QFont font(face);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

// A multi-line box with a vertical scroll bar; text boxes take the focus even when read-only.
QPlainTextEdit* textArea(QWidget* parent, bool readOnly, double left, double top, double width, double height) {
    auto* box = place(new QPlainTextEdit(parent), left, top, width, height);
    box->setReadOnly(readOnly);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

// The description boxes: read-only, multi-line, a vertical scroll bar, the OEM character set.
OemTextBox* oemTextArea(QWidget* parent, double left, double top, double width, double height) {
    auto* box = place(new OemTextBox(parent), left, top, width, height);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

QLineEdit* lineBox(QWidget* parent, bool readOnly, double left, double top, double width, double height) {
    auto* box = place(new QLineEdit(parent), left, top, width, height);
    box->setReadOnly(readOnly);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

Label* titleLabel(const QString& caption, QWidget* parent, double points) {
    auto* label = new Label(caption, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setBorderStyle(1);
    label->setBackStyle(1);
    colour(label, kTitleBack, kTitleText);
    label->setFont(designFont("Times New Roman", points));
    return label;
}

// Image controls lie behind everything else of their window.
Image* backgroundImage(QWidget* parent, double left, double top, double width, double height) {
    auto* image = place(new Image(parent), left, top, width, height);
    image->lower();
    return image;
}

void focusOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QAction* menuItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}, bool checked = false) {
    auto* action = menu->addAction(caption);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setCheckable(true);
        action->setChecked(checked);
    }
    return action;
}

} // namespace

void registerFontSubstitutes() {
    QFont::insertSubstitutions("Courier New", {"Liberation Mono", "DejaVu Sans Mono"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    // The DOS screen face: fixed pitch with the box-drawing and block glyphs.
    QFont::insertSubstitutions("Terminal", {"DejaVu Sans Mono", "Liberation Mono"});
}

SplashDesign::SplashDesign() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setFixedSize(pixels(6120), pixels(3705));
    imgLogo = backgroundImage(this, 0, 0, 6135, 3735);
    lblVersion = place(new Label("Spindeck    v", this), 2040, 3240, 2055, 255);
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setBorderStyle(1);
    colour(lblVersion, kWhite, kBlack);
}

void SplashDesign::setBackgroundPicture(const QPixmap& picture) {
    m_background = picture;
    update();
}

void SplashDesign::paintEvent(QPaintEvent* /*event*/) {
    if (!m_background.isNull()) {
        QPainter(this).drawPixmap(0, 0, m_background);
    }
}

MainDesign::MainDesign(platform::DosFileSystem& files) : m_client(new QWidget(this)) {
    setObjectName("frmQRV");
    setWindowTitle("Spindeck  v");
    setCentralWidget(m_client);
    m_client->setFixedSize(pixels(9090), pixels(5955));
    setForeColor(*this, kBlack);

    imgLogo = backgroundImage(m_client, -480, 0, 9600, 7200);

    frmDriveList = frame("Drive", m_client, 120, 840, 2655, 615);
    drvList = place(new DriveListBox(files, frmDriveList), 120, 195, 2415, 315);
    colour(drvList, kBlack, kWhite);

    frmDirBox = frame("Directory", m_client, 120, 1440, 2655, 3135);
    dirListBox = place(new DirListBox(files, frmDirBox), 120, 240, 2415, 2790);
    colour(dirListBox, kBlack, kWhite);

    cmdInstall = button("&Install", m_client, 1560, 4800, 975, 375);
    cmdInstall->hide();

    frmSpInfo = frame("Special Information", m_client, 2880, 3960, 6015, 1455);
    txtSpInfo = oemTextArea(frmSpInfo, 120, 240, 5775, 1095);
    colour(txtSpInfo, kBoxBlue, kBoxText);
    txtSpInfo->setFont(designFont("Courier New", 9));
    frmSpInfo->hide();

    frmDiz = frame("FILE_ID.DIZ", m_client, 2880, 960, 6015, 2535);
    txtDiz = oemTextArea(frmDiz, 120, 240, 5775, 2175);
    colour(txtDiz, kBoxBlue, kBoxText);
    txtDiz->setFont(designFont("Terminal", 9));
    frmDiz->hide();

    cmdExit = button("E&xit", m_client, 360, 4800, 975, 375);
    setBackColor(*cmdExit, kWhite);

    lblTitle = place(titleLabel(kProgramTitle, m_client, 21.75), 1800, 120, 5655, 615);

    focusOrder({drvList, dirListBox, cmdInstall, cmdExit, txtDiz, txtSpInfo});
    nameControlsAfterFrames(*m_client);

    menuBar()->setNativeMenuBar(false);
    QMenu* file = menuBar()->addMenu("&File");
    mnuCopy = menuItem(file, "Copy To Location");
    mnuCopy->setEnabled(false);
    file->addSeparator();
    mnuExit = menuItem(file, "Exit");
    QMenu* options = menuBar()->addMenu("Options");
    mnuMusicOn = menuItem(options, "Music On", Qt::Key_F5, true);
    mnuSoundOn = menuItem(options, "Sound On", Qt::Key_F6, true);
    mnuConfirm = menuItem(options, "Confirm Installation", Qt::Key_F7, true);
    QMenu* help = menuBar()->addMenu("&Help");
    mnuCommands = menuItem(help, "Commands");
    mnuConfig = menuItem(help, "Configuring");
    mnuAbout = menuItem(help, "&About");

    setFixedSize(m_client->width(), m_client->height() + menuBar()->sizeHint().height());
}

InstallDesign::InstallDesign(platform::DosFileSystem& files) {
    setObjectName("frmInstall");
    setWindowTitle("Spindeck Installer  v");
    setFixedSize(pixels(8085), pixels(5385));

    imgInstLogo = backgroundImage(this, 0, 0, 9600, 7200);

    Frame1 = frame("Options", this, 5760, 2160, 1935, 975);
    chkExitQRV = place(new QCheckBox(Frame1), 120, 480, 225, 255);
    chkConfirm = place(new QCheckBox(Frame1), 120, 240, 255, 255);
    chkConfirm->setChecked(true);
    Label2 = place(new Label("Confrm Installation", Frame1), 360, 240, 1335, 255);
    Label2->setBackStyle(0);
    Label1 = place(new Label("Exit Spindeck After Installation", Frame1), 360, 480, 1455, 375);
    Label1->setBackStyle(0);
    Label1->setWordWrap(true);
    labelFor(Label2, chkConfirm);
    labelFor(Label1, chkExitQRV);

    cmdCancel = button("&Cancel Install", this, 5880, 3480, 1215, 375);
    cmdCreateDir = button("&Create Folder", this, 6480, 1440, 1215, 375);

    frmMkDir = frame("Create Folder/Directory", this, 3000, 1200, 3375, 615);
    txtMkDir = lineBox(frmMkDir, false, 135, 240, 3135, 285);
    colour(txtMkDir, kBlack, kWhite);

    cmdInstallNow = button("&Install Now", this, 3840, 3480, 1215, 375);

    frmDiskFree = frame("Disk Space Available", this, 3000, 2160, 2295, 735);
    txtDiskFree = place(new QTextEdit(frmDiskFree), 120, 240, 2055, 375);
    txtDiskFree->setReadOnly(true);
    txtDiskFree->setAlignment(Qt::AlignCenter);
    txtDiskFree->setFocusPolicy(Qt::StrongFocus);
    txtDiskFree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    colour(txtDiskFree, kBlack, kWhite);

    frmOptInst = frame("Currently Selected Path", this, 120, 4200, 7815, 645);
    txtOptInst = lineBox(frmOptInst, true, 120, 240, 7575, 285);
    colour(txtOptInst, kBlack, kWhite);

    frmInstDrive = frame("Select Install Drive:", this, 120, 195, 2655, 660);
    InstDrvList = place(new DriveListBox(files, frmInstDrive), 120, 240, 2415, 315);
    colour(InstDrvList, kBlack, kWhite);

    frmInstDir = frame("Select Install Directory:", this, 120, 840, 2655, 3135);
    InstDirBox = place(new DirListBox(files, frmInstDir), 120, 240, 2415, 2730);
    colour(InstDirBox, kBlack, kWhite);

    lblInstTitle = place(titleLabel("Spindeck Installer", this, 18), 3000, 240, 4815, 495);

    focusOrder({InstDirBox, InstDrvList, txtOptInst, txtDiskFree, cmdInstallNow, txtMkDir, cmdCreateDir, cmdCancel,
                chkConfirm, chkExitQRV});
    nameControlsAfterFrames(*this);
}

BatchEditorDesign::BatchEditorDesign() {
    setObjectName("frmInstHelp");
    setWindowTitle("Installation HELP!");
    resize(pixels(7455), pixels(5295));

    const auto infoLabel = [this](const QString& caption) {
        auto* label = new Label(caption, this);
        label->setAlignment(Qt::AlignCenter);
        label->setBorderStyle(1);
        colour(label, palette().color(QPalette::Window), palette().color(QPalette::WindowText));
        return label;
    };
    lblQRVTXTInfo =
        place(infoLabel("This is the file created by the author and cannot be modified"), 1320, 120, 5055, 255);
    frmQRVTXT = frame("QRV.TXT", this, 0, 480, 7455, 1815);
    txtQRVTXT = textArea(frmQRVTXT, true, 90, 210, 7260, 1500);
    lblQRVBATInfo =
        place(infoLabel("You can modify the batch file below and execute your revision"), 1320, 2400, 5055, 255);
    frmQRVBAT = frame("QRV.BAT", this, 0, 2760, 7455, 1815);
    txtQRVBAT = textArea(frmQRVBAT, false, 105, 195, 7260, 1500);
    cmdCancel = button("E&xit", this, 2040, 4680, 1095, 375);
    cmdExec = button("E&xecute Revised Batch File", this, 3360, 4680, 2415, 375);

    focusOrder({txtQRVTXT, txtQRVBAT, cmdExec, cmdCancel});
    nameControlsAfterFrames(*this);
}

} // namespace spindeck::ui
