#include "errorlevels.h"
#include "readers.h"

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace spindeck::shell::archive {
namespace {

struct ReaderDeleter {
    void operator()(struct archive* reader) const { archive_read_free(reader); }
};
using Reader = std::unique_ptr<struct archive, ReaderDeleter>;

// Large reads keep the per-call cost low against the inflating itself.
constexpr std::size_t kReadBlock = 1 << 18;

// Each program reads only its own format, so a mislabelled file is reported as damaged rather
// than unpacked as something else. Zip archives are read through their central directory, as the
// DOS programs read them: a file cut short has lost it and is damaged, even where its first
// members could still be read one after another.
void supportFormats(struct archive* reader, ArchiveProgram program) {
    switch (program) {
    case ArchiveProgram::Pkunzip:
    case ArchiveProgram::Unzip:
        archive_read_support_format_zip_seekable(reader);
        break;
    case ArchiveProgram::Lha:
        archive_read_support_format_lha(reader);
        break;
    case ArchiveProgram::Unrar:
        archive_read_support_format_rar(reader);
        archive_read_support_format_rar5(reader);
        break;
    case ArchiveProgram::Unarj:
    case ArchiveProgram::Arj:
        break;
    }
}

std::string errorText(struct archive* reader) {
    const char* text = archive_error_string(reader);
    return text != nullptr ? text : "unknown error";
}

EntryKind kindOf(struct archive_entry* header) {
    if (archive_entry_hardlink(header) != nullptr) {
        return EntryKind::Link;
    }
    switch (archive_entry_filetype(header)) {
    case AE_IFREG:
        return EntryKind::File;
    case AE_IFDIR:
        return EntryKind::Directory;
    case AE_IFLNK:
        return EntryKind::Link;
    default:
        return EntryKind::Other;
    }
}

ArchiveEntry entryOf(struct archive_entry* header) {
    ArchiveEntry entry;
    const char* name = archive_entry_pathname_utf8(header);
    if (name == nullptr) {
        name = archive_entry_pathname(header);
    }
    entry.name = name != nullptr ? name : "";
    entry.kind = kindOf(header);
    if (archive_entry_mtime_is_set(header) != 0) {
        entry.modified = archive_entry_mtime(header);
    }
    return entry;
}

std::optional<CopyFailure> copyData(struct archive* reader, int fd) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    la_int64_t position = 0;
    for (;;) {
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF) {
            break;
        }
        if (status != ARCHIVE_OK) {
            return CopyFailure{true, 0, errorText(reader)};
        }
        // A gap before the block is a hole of a sparse file.
        if (offset != position && ::lseek(fd, offset, SEEK_SET) < 0) {
            return CopyFailure{false, errno, {}};
        }
        if (const int error = writeAll(fd, block, size); error != 0) {
            return CopyFailure{false, error, {}};
        }
        position = offset + static_cast<la_int64_t>(size);
    }
    return std::nullopt;
}

} // namespace

void extractWithLibarchive(const std::filesystem::path& hostArchive, std::string_view dosArchive,
                           ArchiveProgram program, Extraction& extraction) {
    const std::string damaged = "Damaged archive - " + std::string(dosArchive) + ": ";
    Reader reader(archive_read_new());
    supportFormats(reader.get(), program);
    if (archive_read_open_filename(reader.get(), hostArchive.c_str(), kReadBlock) != ARCHIVE_OK) {
        extraction.archiveFailed(errorlevel::kDamaged, damaged + errorText(reader.get()));
        return;
    }
    struct archive_entry* header = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &header);
        if (status == ARCHIVE_EOF) {
            return;
        }
        if (status == ARCHIVE_FATAL) {
            extraction.archiveFailed(errorlevel::kDamaged, damaged + errorText(reader.get()));
            return;
        }
        if (status == ARCHIVE_RETRY || status == ARCHIVE_FAILED) {
            extraction.archiveFailed(errorlevel::kDamaged, damaged + errorText(reader.get()));
            continue;
        }
        const ArchiveEntry entry = entryOf(header);
        if (archive_entry_is_encrypted(header) != 0) {
            extraction.archiveFailed(errorlevel::kWarning, "Encrypted entry skipped - " + entryNameText(entry.name));
            continue;
        }
        if (!extraction.place(entry, [&](int fd) { return copyData(reader.get(), fd); })) {
            return;
        }
    }
}

} // namespace spindeck::shell::archive
