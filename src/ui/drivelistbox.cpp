#include "drivelistbox.h"

#include <QApplication>
#include <QStyle>

namespace spindeck::ui {

using platform::DriveKind;

ListError ListError::deviceUnavailable() {
    return {68, QStringLiteral("Device unavailable")};
}

ListError ListError::pathNotFound() {
    return {76, QStringLiteral("Path not found")};
}

namespace {

QStyle::StandardPixmap iconOf(DriveKind kind) {
    switch (kind) {
    case DriveKind::Removable:
        return QStyle::SP_DriveFDIcon;
    case DriveKind::Remote:
        return QStyle::SP_DriveNetIcon;
    case DriveKind::CdRom:
        return QStyle::SP_DriveCDIcon;
    case DriveKind::Fixed:
    case DriveKind::RamDisk:
        break;
    }
    return QStyle::SP_DriveHDIcon;
}

} // namespace

DriveListModel::DriveListModel(const platform::DriveMap& map, QObject* parent)
    : QAbstractListModel(parent), m_map(map) {}

int DriveListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_map.drives().size());
}

QVariant DriveListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const platform::Drive& drive = m_map.drives()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(drive.listText());
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(iconOf(drive.kind));
    default:
        return {};
    }
}

int DriveListModel::rowOf(char letter) const {
    const platform::Drive* drive = m_map.drive(letter);
    if (drive == nullptr) {
        return -1;
    }
    return static_cast<int>(drive - m_map.drives().data());
}

char DriveListModel::letterAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    return m_map.drives()[static_cast<std::size_t>(row)].letter;
}

DriveListBox::DriveListBox(platform::DosFileSystem& files, QWidget* parent)
    : QComboBox(parent), m_files(files), m_model(new DriveListModel(files.driveMap(), this)) {
    setModel(m_model);
    m_currentRow = m_model->rowOf(m_files.currentDrive());
    setCurrentIndex(m_currentRow);
    // Every move of the current entry that setDrive did not make is the user's choice.
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::currentRowChanged);
}

QString DriveListBox::drive() const {
    return currentText();
}

Status<ListError> DriveListBox::setDrive(const QString& text) {
    const QString trimmed = text.trimmed();
    const QChar first = trimmed.isEmpty() ? QChar() : trimmed.front();
    const char letter = first.isLetter() && first.unicode() < 0x80 ? static_cast<char>(first.toLatin1()) : '\0';
    const int row = letter == 0 ? -1 : m_model->rowOf(letter);
    if (row < 0 || !m_files.driveMap().isReady(letter)) {
        return Unexpected{ListError::deviceUnavailable()};
    }
    if (row == m_currentRow) {
        return Done{};
    }
    m_currentRow = row;
    setCurrentIndex(row);
    emit changed();
    return Done{};
}

int DriveListBox::listCount() const {
    return count();
}

QString DriveListBox::list(int index) const {
    return index >= 0 && index < count() ? itemText(index) : QString();
}

void DriveListBox::currentRowChanged(int row) {
    if (row == m_currentRow || row < 0) {
        return;
    }
    m_currentRow = row;
    emit changed();
}

} // namespace spindeck::ui
