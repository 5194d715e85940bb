#include "dirlistbox.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <string_view>
#include <utility>

namespace spindeck::ui {

namespace {

using platform::DosFileSystem;
using platform::PathErrorCode;

// Indents each entry by its nesting level, half an icon per level.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(indented.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        const int step = std::max(option.decorationSize.width() / 2, 1);
        return index.data(DirListModel::DepthRole).toInt() * step;
    }
};

std::string joinPath(char drive, const std::vector<std::string>& components, std::size_t count) {
    std::string path{drive, ':', '\\'};
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            path += '\\';
        }
        path += components[i];
    }
    return path;
}

std::string childPath(const std::string& directory, std::string_view name) {
    std::string path = directory;
    if (path.back() != '\\') {
        path += '\\';
    }
    path += name;
    return path;
}

// A name can be listed when a DOS path can name it and it survives the trip through the window
// code's text (UTF-8) unchanged; any other would show but could never be opened.
bool isListable(const std::string& name) {
    return name.find('\\') == std::string::npos && QString::fromStdString(name).toStdString() == name;
}

// The subdirectories of an open directory, sorted without regard to case (names that differ only
// in case keep the byte order the listing gives). A directory that cannot be read has none.
std::vector<std::string> readSubdirectories(const DosFileSystem& files, const std::string& directory) {
    auto entries = files.listDirectory(directory);
    std::vector<std::string> names;
    if (!entries) {
        return names;
    }
    std::vector<QString> keys;
    for (platform::DirEntry& entry : *entries) {
        if (entry.isDirectory && isListable(entry.name)) {
            names.push_back(std::move(entry.name));
        }
    }
    std::vector<std::size_t> order(names.size());
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        order[i] = i;
        keys.push_back(QString::fromStdString(names[i]));
    }
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return QString::compare(keys[a], keys[b], Qt::CaseInsensitive) < 0;
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::size_t i : order) {
        sorted.push_back(std::move(names[i]));
    }
    return sorted;
}

struct OpenedPath {
    char drive = 'C';
    std::vector<std::string> components; // host spelling
};

// Resolves a path to an existing directory, each name in its host spelling.
Expected<OpenedPath, ListError> openDirectory(const DosFileSystem& files, std::string_view dosPath) {
    const auto full = files.fullPath(dosPath);
    if (!full) {
        return Unexpected{full.error().code == PathErrorCode::UnknownDrive ? ListError::deviceUnavailable()
                                                                           : ListError::pathNotFound()};
    }
    OpenedPath opened;
    opened.drive = full->front();
    if (!files.driveMap().isReady(opened.drive)) {
        return Unexpected{ListError::deviceUnavailable()};
    }
    // fullPath gives "C:\" followed by names separated by single backslashes.
    const std::string_view names = std::string_view(*full).substr(3);
    std::string directory = joinPath(opened.drive, {}, 0);
    std::size_t start = 0;
    while (start < names.size()) {
        const std::size_t end = std::min(names.find('\\', start), names.size());
        std::string found = files.findName(directory, names.substr(start, end - start), true);
        if (found.empty()) {
            return Unexpected{ListError::pathNotFound()};
        }
        directory = childPath(directory, found);
        opened.components.push_back(std::move(found));
        start = end + 1;
    }
    return opened;
}

} // namespace

DirListModel::DirListModel(QObject* parent) : QAbstractListModel(parent) {}

int DirListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(m_ancestors.size() + 1 + m_subdirectories.size());
}

QVariant DirListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const std::size_t depth = m_ancestors.size();
    switch (role) {
    case Qt::DisplayRole:
        if (row < depth) {
            return m_ancestors[row];
        }
        return row == depth ? m_open : m_subdirectories[row - depth - 1];
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(row <= depth ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    case DepthRole:
        return static_cast<int>(std::min(row, depth + 1));
    default:
        return {};
    }
}

void DirListModel::reset(std::vector<QString> ancestors, QString open, std::vector<QString> subdirectories) {
    beginResetModel();
    m_ancestors = std::move(ancestors);
    m_open = std::move(open);
    m_subdirectories = std::move(subdirectories);
    endResetModel();
}

// Rows run root, ancestors, open directory, subdirectories, so the index is the row less the
// open directory's row, less one.
int DirListModel::indexOfRow(int row) const {
    return row - static_cast<int>(m_ancestors.size()) - 1;
}

int DirListModel::rowOfIndex(int index) const {
    const int row = index + static_cast<int>(m_ancestors.size()) + 1;
    return row >= 0 && row < rowCount() ? row : -1;
}

DirListBox::DirListBox(DosFileSystem& files, QWidget* parent)
    : QListView(parent), m_files(files), m_model(new DirListModel(this)) {
    setModel(m_model);
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_quiet) {
            emit clicked();
        }
    });
    connect(this, &QAbstractItemView::doubleClicked, this, &DirListBox::openEntry);

    const char drive = files.currentDrive();
    auto opened = openDirectory(files, files.currentDirectory(drive));
    if (!opened) {
        opened = openDirectory(files, std::string{drive, ':', '\\'});
    }
    // A drive that is not ready still shows its root, so that the list always names a path.
    m_components = opened ? std::move(opened->components) : std::vector<std::string>{};
    m_path = joinPath(opened ? opened->drive : drive, m_components, m_components.size());
    m_subdirectories = opened ? readSubdirectories(files, m_path) : std::vector<std::string>{};
    rebuild(-1);
}

QString DirListBox::path() const {
    return QString::fromStdString(m_path);
}

Status<ListError> DirListBox::setPath(const QString& dosPath) {
    auto opened = openDirectory(m_files, dosPath.toStdString());
    if (!opened) {
        return Unexpected{opened.error()};
    }
    std::string path = joinPath(opened->drive, opened->components, opened->components.size());
    const bool differs = path != m_path;
    m_subdirectories = readSubdirectories(m_files, path);
    m_components = std::move(opened->components);
    m_path = std::move(path);
    rebuild(-1);
    if (differs) {
        emit changed();
    }
    return Done{};
}

int DirListBox::listIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->indexOfRow(current.row()) : -1;
}

void DirListBox::setListIndex(int index) {
    const int row = m_model->rowOfIndex(index);
    if (row >= 0) {
        setCurrentIndex(m_model->index(row));
    }
}

int DirListBox::listCount() const {
    return m_model->subdirectoryCount();
}

QString DirListBox::list(int index) const {
    const int depth = static_cast<int>(m_components.size());
    if (index < -(depth + 1) || index >= listCount()) {
        return {};
    }
    if (index >= 0) {
        return QString::fromStdString(childPath(m_path, m_subdirectories[static_cast<std::size_t>(index)]));
    }
    // -1 names all the components, -2 all but the last, and so on up to the root.
    const int kept = depth + 1 + index;
    return QString::fromStdString(joinPath(m_path.front(), m_components, static_cast<std::size_t>(kept)));
}

void DirListBox::refresh() {
    const int index = listIndex();
    const std::string highlighted = index >= 0 ? m_subdirectories[static_cast<std::size_t>(index)] : std::string();
    m_subdirectories = readSubdirectories(m_files, m_path);
    int kept = index;
    if (index >= 0) {
        const auto found = std::find(m_subdirectories.begin(), m_subdirectories.end(), highlighted);
        kept = found == m_subdirectories.end() ? -1 : static_cast<int>(found - m_subdirectories.begin());
    }
    rebuild(kept);
}

QItemSelectionModel::SelectionFlags DirListBox::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* /*event*/) const {
    return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}

void DirListBox::rebuild(int index) {
    std::vector<QString> ancestors;
    if (!m_components.empty()) {
        ancestors.push_back(QString::fromStdString(joinPath(m_path.front(), {}, 0)));
        for (std::size_t i = 0; i + 1 < m_components.size(); ++i) {
            ancestors.push_back(QString::fromStdString(m_components[i]));
        }
    }
    const QString open = QString::fromStdString(m_components.empty() ? m_path : m_components.back());
    std::vector<QString> subdirectories;
    subdirectories.reserve(m_subdirectories.size());
    for (const std::string& name : m_subdirectories) {
        subdirectories.push_back(QString::fromStdString(name));
    }
    m_quiet = true;
    m_model->reset(std::move(ancestors), open, std::move(subdirectories));
    highlight(index);
    m_quiet = false;
}

void DirListBox::highlight(int index) {
    const QModelIndex target = m_model->index(m_model->rowOfIndex(index));
    setCurrentIndex(target);
    scrollTo(target);
}

void DirListBox::openEntry(const QModelIndex& index) {
    const int listIndex = m_model->indexOfRow(index.row());
    // An entry that can no longer be opened (removed meanwhile, the disc taken out) leaves the list
    // showing what is there now.
    if (!index.isValid() || !setPath(list(listIndex))) {
        refresh();
    }
}

} // namespace spindeck::ui
