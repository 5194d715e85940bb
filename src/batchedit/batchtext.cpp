#include "batchtext.h"

#include "platform/codepage.h"

namespace spindeck::batchedit {

namespace {

constexpr char16_t kLoneCr = u'\u240D';
constexpr char16_t kLoneLf = u'\u240A';
constexpr char16_t kParagraphSeparator = u'\u2029';

} // namespace

ShownFile shownPart(std::string_view file, std::uint64_t length) {
    if (length < 2) {
        return {};
    }
    if (length - 2 <= kEditorCap) {
        return {std::string(file.substr(0, static_cast<std::size_t>(length - 2))), false};
    }
    return {std::string(file.substr(0, kEditorCap)) + std::string(kEditorTruncated), true};
}

std::u16string editableText(std::string_view bytes) {
    std::u16string text = platform::ansiText(bytes);
    std::u16string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            shown += u'\n';
            ++i;
        } else if (text[i] == u'\r') {
            shown += kLoneCr;
        } else if (text[i] == u'\n') {
            shown += kLoneLf;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

std::string fileBytes(std::u16string_view text) {
    std::u16string plain;
    plain.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\n' || c == kParagraphSeparator) {
            plain += u"\r\n";
        } else if (c == kLoneCr) {
            plain += u'\r';
        } else if (c == kLoneLf) {
            plain += u'\n';
        } else {
            plain += c;
        }
    }
    return platform::ansiBytes(plain);
}

} // namespace spindeck::batchedit
