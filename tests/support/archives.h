#pragma once

// Archives made by the tests themselves: zip files through libarchive's writer; lzh and RAR files
// (stored members) written byte by byte here, since libarchive writes neither.

#include <archive.h>
#include <archive_entry.h>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::platform::testing_support {

struct FixtureEntry {
    enum class Type { File, Directory, Symlink };
    std::string name;
    std::string content; // a file's bytes, or where a symbolic link points
    Type type = Type::File;
    std::time_t modified = 946728000; // 2000-01-01 12:00 UTC
};

// Members deflated, or with `stored` kept as they are (so that a test can find and change their bytes).
inline void writeZip(const std::filesystem::path& file, const std::vector<FixtureEntry>& entries, bool stored = false) {
    struct archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    if (stored) {
        archive_write_set_options(writer, "zip:compression=store");
    }
    ASSERT_EQ(archive_write_open_filename(writer, file.c_str()), ARCHIVE_OK) << archive_error_string(writer);
    for (const FixtureEntry& fixture : entries) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, fixture.name.c_str());
        archive_entry_set_mtime(entry, fixture.modified, 0);
        switch (fixture.type) {
        case FixtureEntry::Type::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, static_cast<la_int64_t>(fixture.content.size()));
            break;
        case FixtureEntry::Type::Directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            break;
        case FixtureEntry::Type::Symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink(entry, fixture.content.c_str());
            break;
        }
        EXPECT_EQ(archive_write_header(writer, entry), ARCHIVE_OK) << archive_error_string(writer);
        if (fixture.type == FixtureEntry::Type::File && !fixture.content.empty()) {
            EXPECT_EQ(archive_write_data(writer, fixture.content.data(), fixture.content.size()),
                      static_cast<la_ssize_t>(fixture.content.size()));
        }
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
}

// CRC-16 of the lzh format (reflected polynomial 0xA001, starting at 0).
inline std::uint16_t lzhCrc16(const std::string& bytes) {
    std::uint16_t crc = 0;
    for (const char byte : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(byte));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 1U) != 0 ? (crc >> 1) ^ 0xA001U : crc >> 1);
        }
    }
    return crc;
}

inline void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFFU);
    }
}

// The DOS time stamp of the older archive formats: time in the low word, date in the high one.
inline std::uint32_t dosTimestamp(std::time_t time) {
    std::tm local{};
    ::localtime_r(&time, &local);
    const auto dosTime = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    const auto dosDate =
        static_cast<std::uint32_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    return dosTime | (dosDate << 16);
}

// A stored name with "\" between folders, as DOS archivers wrote it.
inline std::string dosName(std::string name) {
    for (char& c : name) {
        c = c == '/' ? '\\' : c;
    }
    return name;
}

// Stored ("-lh0-") members with level-0 headers. Directory and link entries are not written.
inline void writeLzh(const std::filesystem::path& file, const std::vector<FixtureEntry>& entries) {
    std::string archive;
    for (const FixtureEntry& fixture : entries) {
        if (fixture.type != FixtureEntry::Type::File) {
            continue;
        }
        const std::string name = dosName(fixture.name);
        std::string header(2, '\0'); // header size and checksum, filled in below
        header += "-lh0-";
        const auto size = static_cast<std::uint32_t>(fixture.content.size());
        appendLittleEndian(header, size, 4);
        appendLittleEndian(header, size, 4);
        appendLittleEndian(header, dosTimestamp(fixture.modified), 4);
        header += '\x20'; // attribute: archive
        header += '\0';   // header level
        header += static_cast<char>(name.size());
        header += name;
        appendLittleEndian(header, lzhCrc16(fixture.content), 2);
        header[0] = static_cast<char>(header.size() - 2);
        unsigned sum = 0;
        for (std::size_t i = 2; i < header.size(); ++i) {
            sum += static_cast<unsigned char>(header[i]);
        }
        header[1] = static_cast<char>(sum & 0xFFU);
        archive += header + fixture.content;
    }
    archive += '\0';
    std::ofstream(file, std::ios::binary) << archive;
}

inline std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xEDB88320U : crc >> 1;
        }
    }
    return ~crc;
}

// A RAR block: its header CRC (the low half of the CRC-32 of the rest of the header) in front.
inline std::string rarBlock(const std::string& header) {
    std::string block;
    appendLittleEndian(block, crc32(header) & 0xFFFFU, 2);
    return block + header;
}

// Stored members of the RAR format of the DOS era (version 2.0 headers, method "store"). Directory
// and link entries are not written.
inline void writeRar(const std::filesystem::path& file, const std::vector<FixtureEntry>& entries) {
    std::string archive("Rar!\x1A\x07\x00", 7);
    archive += rarBlock(std::string("\x73\x00\x00\x0D\x00\x00\x00\x00\x00\x00\x00", 11));
    for (const FixtureEntry& fixture : entries) {
        if (fixture.type != FixtureEntry::Type::File) {
            continue;
        }
        const std::string name = dosName(fixture.name);
        const auto size = static_cast<std::uint32_t>(fixture.content.size());
        std::string header("\x74\x00\x80", 3); // file block; the flag of a block with data after it
        appendLittleEndian(header, static_cast<std::uint32_t>(32 + name.size()), 2);
        appendLittleEndian(header, size, 4); // packed
        appendLittleEndian(header, size, 4); // unpacked
        header += '\0';                      // written on DOS
        appendLittleEndian(header, crc32(fixture.content), 4);
        appendLittleEndian(header, dosTimestamp(fixture.modified), 4);
        header += '\x14'; // needs version 2.0 to unpack
        header += '\x30'; // stored
        appendLittleEndian(header, static_cast<std::uint32_t>(name.size()), 2);
        appendLittleEndian(header, 0x20, 4); // attribute: archive
        archive += rarBlock(header + name) + fixture.content;
    }
    archive += rarBlock(std::string("\x7B\x00\x40\x07\x00", 5));
    std::ofstream(file, std::ios::binary) << archive;
}

} // namespace spindeck::platform::testing_support
