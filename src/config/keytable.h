#pragma once

// Every key the program reads from QRV.INI, as data, in the order the main window's set-up
// applies them. The title keys stand twice: the install window's title takes the main title's
// style. The splash picture key comes last; the start-up reads it before the set-up begins.

#include <span>
#include <string_view>

namespace spindeck::config {

// The groups in the order the set-up applies them; Splash is read apart, by the start-up.
enum class KeyGroup {
    InstallConfirmation,
    MainWindow,
    MainTitle,
    MainDriveList,
    MainDirectoryList,
    MainLogo,
    DescriptionBox,
    DizBox,
    InstallWindow,
    InstallTitle,
    InstallLogo,
    InstallDirectoryList,
    InstallDriveList,
    MusicAndCues,
    Splash,
};

// The elements keys style, named as the windows name them.
enum class Element {
    mnuConfirm,
    frmQRV,
    lblTitle,
    drvList,
    dirListBox,
    imgLogo,
    txtSpInfo,
    txtDiz,
    frmInstall,
    lblInstTitle,
    imgInstLogo,
    InstDirBox,
    InstDrvList,
    SharedSettings,
    frmSplash,
};

enum class Property {
    CheckMark,
    BackColor,
    ForeColor,
    Caption,
    BorderStyle,
    FontName,
    BackStyle,
    Height,
    Width,
    Top,
    Left,
    Picture,
    gMidiFile,
    mStartUp,
    mExit,
    mInstall,
    mFoundDiz,
    mFoundQRVTXT,
    mFoundDizNQRV,
};

enum class Conversion {
    Text,
    Boolean,
    ColourFromStrict,
    ColourFromLenient,
    IntegerFromStrict,
    IntegerFromLenient,
    TwipsFromStrict,
    TwipsFromLenient,
    FontName,
    PictureFile,
};

struct KeyRow {
    std::string_view key;
    KeyGroup group;
    Element element;
    Property property;
    Conversion conversion;
    // What an empty value stands for; an empty text here means the element keeps its state.
    std::string_view whenEmpty;
};

// All rows, the title rows twice, the splash row last.
[[nodiscard]] std::span<const KeyRow> keyTable();

[[nodiscard]] bool isSize(Property property);
[[nodiscard]] bool isPosition(Property property);

} // namespace spindeck::config
