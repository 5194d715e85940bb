#include "shortname.h"

#include "dospath.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <unordered_set>

namespace spindeck::platform {

namespace {

constexpr std::size_t kMaxBase = 8;
constexpr std::size_t kMaxExtension = 3;
constexpr std::size_t kMaxBasis = 6; // the part of a generated name before "~N"

bool isShortNameChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// At most `limit` bytes of `text`, backing off so that a UTF-8 sequence is never cut in two.
std::string_view cutAt(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    for (int step = 0; step < 3 && end > 0 && isContinuationByte(text[end]); ++step) {
        --end;
    }
    if (end == 0) { // not UTF-8 after all: cut by bytes
        end = limit;
    }
    return text.substr(0, end);
}

// The characters of a long name as they may stand in a short one: spaces and dots dropped, letters
// upper case, every other character DOS does not allow in a short name replaced by "_".
std::string shortNameChars(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '.') {
            continue;
        }
        out += isShortNameChar(c) ? dospath::upperAscii(c) : '_';
    }
    return out;
}

struct Pending {
    std::string basis;     // up to 6 characters
    std::string extension; // up to 3 characters, may be empty
    std::size_t index = 0; // into the names given
};

std::string candidate(const Pending& pending, std::size_t number) {
    const std::string digits = std::to_string(number);
    // The whole stays within 8 characters: the basis gives way as the number grows.
    const std::size_t room = kMaxBase - 1 > digits.size() ? kMaxBase - 1 - digits.size() : 0;
    std::string name(cutAt(pending.basis, std::min(room, kMaxBasis)));
    name += '~';
    name += digits;
    if (!pending.extension.empty()) {
        name += '.';
        name += pending.extension;
    }
    return name;
}

} // namespace

bool isShortName(std::string_view name) {
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    if (base.empty() || base.size() > kMaxBase) {
        return false;
    }
    if (dot != std::string_view::npos) {
        const std::string_view extension = name.substr(dot + 1);
        if (extension.empty() || extension.size() > kMaxExtension || extension.find('.') != std::string_view::npos) {
            return false;
        }
    }
    return std::all_of(name.begin(), name.end(), [](char c) { return c == '.' || isShortNameChar(c); });
}

std::vector<std::string> shortNames(std::span<const std::string> names) {
    std::vector<std::string> result(names.size());
    // Upper-case forms of every short name handed out so far; a valid 8.3 name among the siblings
    // keeps its own name, so no generated name may equal it, whatever its case.
    std::unordered_set<std::string> taken;
    taken.reserve(names.size());
    std::vector<Pending> pending;

    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (isShortName(name)) {
            result[i] = name;
            taken.insert(dospath::upperAscii(name));
            continue;
        }
        std::string_view rest = name;
        rest.remove_prefix(std::min(rest.find_first_not_of('.'), rest.size()));
        const std::size_t lastDot = rest.rfind('.');
        Pending entry;
        entry.index = i;
        entry.basis = shortNameChars(rest.substr(0, lastDot));
        if (lastDot != std::string_view::npos) {
            entry.extension = std::string(cutAt(shortNameChars(rest.substr(lastDot + 1)), kMaxExtension));
        }
        // A name of nothing but spaces and dots (" .txt", "...") leaves no basis: "_" stands in.
        entry.basis = entry.basis.empty() ? std::string("_") : std::string(cutAt(entry.basis, kMaxBasis));
        pending.push_back(std::move(entry));
    }

    // Numbers are counted per basis and extension, in byte order of the long names.
    std::sort(pending.begin(), pending.end(), [&names](const Pending& a, const Pending& b) {
        return std::tie(a.basis, a.extension, names[a.index]) < std::tie(b.basis, b.extension, names[b.index]);
    });
    std::size_t number = 1;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (i == 0 || pending[i].basis != pending[i - 1].basis || pending[i].extension != pending[i - 1].extension) {
            number = 1;
        }
        // Skips numbers whose name a sibling carries already (its real 8.3 name, or, when a shrunk
        // basis meets another group's, a name given out before).
        std::string name = candidate(pending[i], number++);
        while (!taken.insert(name).second) {
            name = candidate(pending[i], number++);
        }
        result[pending[i].index] = std::move(name);
    }
    return result;
}

} // namespace spindeck::platform
