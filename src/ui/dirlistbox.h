#pragma once

// The directory list (dirListBox, InstDirBox): the directories along and below a current path.
// Entries are numbered as the window code expects: the open directory is -1, its ancestors -2
// (parent), -3 and so on up to the root, its subdirectories 0 to listCount()-1 in name order.
// A single click or an arrow key highlights an entry and raises `clicked`; a double click, or
// setting the path from code, opens a directory and raises `changed`.

#include "drivelistbox.h"

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

namespace spindeck::ui {

class DirListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // The nesting level of a row (0 for the root), for indenting it.
    static constexpr int DepthRole = Qt::UserRole + 1;

    explicit DirListModel(QObject* parent = nullptr);
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

    // Replaces the entries: the open directory's ancestors from the root down, the open directory,
    // then its subdirectories.
    void reset(std::vector<QString> ancestors, QString open, std::vector<QString> subdirectories);
    // List index (-1 the open directory) of a row, and the reverse (-1 for an index outside the list).
    [[nodiscard]] int indexOfRow(int row) const;
    [[nodiscard]] int rowOfIndex(int index) const;
    [[nodiscard]] int subdirectoryCount() const { return static_cast<int>(m_subdirectories.size()); }

private:
    std::vector<QString> m_ancestors;
    QString m_open;
    std::vector<QString> m_subdirectories;
};

class DirListBox final : public QListView {
    Q_OBJECT
public:
    // Starts on the current directory of the file system's current drive (its root when that
    // directory cannot be opened). The file system's current directories are never changed here.
    DirListBox(platform::DosFileSystem& files, QWidget* parent);

    // "C:\GAMES", "C:\" for a root.
    [[nodiscard]] QString path() const;
    // Opens `dosPath` (absolute, or relative to the program's current drive and directory) and
    // raises `changed` when the path changes. Fails with error 68 for a drive that is not ready and
    // 76 for a directory that does not exist, leaving the list as it was.
    Status<ListError> setPath(const QString& dosPath);
    [[nodiscard]] int listIndex() const;
    // Moves the highlight; raises `clicked` when it moves. An index outside the list is ignored.
    void setListIndex(int index);
    [[nodiscard]] int listCount() const;
    // The full path of entry `index` (-1 the open directory, below -1 its ancestors); empty text
    // outside the list.
    [[nodiscard]] QString list(int index) const;
    // Reads the open directory's subdirectories again.
    void refresh();

signals:
    void clicked();
    void changed();

protected:
    // A click always leaves exactly the entry under the pointer highlighted.
    [[nodiscard]] QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                                       const QEvent* event) const override;

private:
    // Shows the directory held in the members below and highlights entry `index` without raising
    // `clicked`.
    void rebuild(int index);
    void highlight(int index);
    void openEntry(const QModelIndex& index);

    platform::DosFileSystem& m_files;
    DirListModel* m_model = nullptr;           // a child of the control, so that it outlives the view's use of it
    std::string m_path;                        // "C:\GAMES\DEMO", host spelling of each name
    std::vector<std::string> m_components;     // "GAMES", "DEMO"
    std::vector<std::string> m_subdirectories; // in list order
    bool m_quiet = false;                      // true while the code moves the highlight itself
};

} // namespace spindeck::ui
