#pragma once

// The drive list (drvList, InstDrvList): a drop-down of the mapped drives. Its current drive is a
// text whose first letter names the drive ("c: [DOS]"); setting it to another drive raises
// `changed`, as does the user's choice. A drive that is not ready refuses to become current with
// the device-unavailable error.

#include "platform/dosfs.h"

#include <QAbstractListModel>
#include <QComboBox>

namespace spindeck::ui {

// What setting a list's drive or path can raise: 68 "Device unavailable" for a drive that is not
// mapped or not ready, 76 "Path not found" for a directory that does not exist.
struct ListError {
    int number = 0;
    QString description;

    static ListError deviceUnavailable();
    static ListError pathNotFound();
};

// One row per mapped drive in letter order; the text is the drive's list text, the icon tells its
// kind.
class DriveListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit DriveListModel(const platform::DriveMap& map, QObject* parent = nullptr);
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    // The row of the drive with this letter (either case), or -1.
    [[nodiscard]] int rowOf(char letter) const;
    // The upper-case letter of a row, or 0 outside the rows.
    [[nodiscard]] char letterAt(int row) const;

private:
    const platform::DriveMap& m_map;
};

class DriveListBox final : public QComboBox {
    Q_OBJECT
public:
    // Starts on the file system's current drive. The file system's current drive is never changed
    // here: the window code does that.
    DriveListBox(platform::DosFileSystem& files, QWidget* parent);

    // The current entry's text.
    [[nodiscard]] QString drive() const;
    // Makes the drive named by the first letter of `text` current; raises `changed` when the drive
    // changes. Fails for a drive that is not mapped or not ready, leaving the list as it was.
    Status<ListError> setDrive(const QString& text);
    [[nodiscard]] int listCount() const;
    // The text of entry `index`, or empty text outside the entries.
    [[nodiscard]] QString list(int index) const;

signals:
    void changed();

private:
    void currentRowChanged(int row);

    platform::DosFileSystem& m_files;
    DriveListModel* m_model = nullptr; // a child of the control, so that it outlives the combo box's use of it
    int m_currentRow = -1;             // the row `changed` was last raised for
};

} // namespace spindeck::ui
