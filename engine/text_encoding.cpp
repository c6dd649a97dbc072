#include "text_encoding.h"

#include <cstring>

CodePages g_codePages = [] {
    CodePages pages;
    for (int byte = 0; byte < 256; ++byte)
        pages.legacyByte[byte] = char16_t(byte);
    return pages;
}();

namespace {

constexpr size_t DETECTION_WINDOW = 64 * 1024;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the UTF-8 sequence at text[pos], 0 when it is not a valid one.
// Surrogates' 3-byte forms count as valid only where a store may hold them.
size_t Utf8SequenceLength(const unsigned char* text, size_t size, size_t pos, bool allowSurrogates)
{
    unsigned char lead = text[pos];
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED && !allowSurrogates)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (size - pos < length)
        return 0;
    if (text[pos + 1] < low || text[pos + 1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (!IsContinuation(text[pos + i]))
            return 0;
    return length;
}

char32_t DecodeUtf8(const unsigned char* text, size_t pos, size_t length)
{
    switch (length) {
    case 1:
        return text[pos];
    case 2:
        return char32_t(text[pos] & 0x1F) << 6 | (text[pos + 1] & 0x3F);
    case 3:
        return char32_t(text[pos] & 0x0F) << 12 | char32_t(text[pos + 1] & 0x3F) << 6 | (text[pos + 2] & 0x3F);
    default:
        return char32_t(text[pos] & 0x07) << 18 | char32_t(text[pos + 1] & 0x3F) << 12 |
               char32_t(text[pos + 2] & 0x3F) << 6 | (text[pos + 3] & 0x3F);
    }
}

// True when the whole text is strict UTF-8; *multiByte tells whether any
// character needed more than one byte.
bool IsStrictUtf8(const unsigned char* text, size_t size, bool* multiByte)
{
    *multiByte = false;
    size_t pos = 0;
    while (pos < size) {
        // Most text is ASCII: step over it eight bytes at a time.
        while (size - pos >= 8) {
            uint64_t word;
            std::memcpy(&word, text + pos, 8);
            if (word & 0x8080808080808080ull)
                break;
            pos += 8;
        }
        if (pos >= size)
            break;
        if (text[pos] < 0x80) {
            ++pos;
            continue;
        }
        size_t length = Utf8SequenceLength(text, size, pos, false);
        if (length == 0)
            return false;
        *multiByte = true;
        pos += length;
    }
    return true;
}

// UTF-16 without a mark: see DetectEncoding. Returns the kind or Legacy.
EncodingKind DetectUnmarkedUtf16(const unsigned char* data, size_t size)
{
    if (size < 2 || size % 2 != 0)
        return EncodingKind::Legacy;
    size_t window = size < DETECTION_WINDOW ? size : DETECTION_WINDOW;
    size_t zeroEven = 0, zeroOdd = 0;
    bool lineFeedLe = false, lineFeedBe = false;
    for (size_t at = 0; at < window; at += 2) {
        unsigned char first = data[at], second = data[at + 1];
        if (first == 0 && second == 0)
            return EncodingKind::Legacy;
        zeroEven += first == 0;
        zeroOdd += second == 0;
        lineFeedLe |= first == 0x0A && second == 0;
        lineFeedBe |= first == 0 && second == 0x0A;
    }
    size_t units = window / 2;
    if (lineFeedLe && zeroOdd * 10 >= units * 9)
        return EncodingKind::Utf16Le;
    if (lineFeedBe && zeroEven * 10 >= units * 9)
        return EncodingKind::Utf16Be;
    return EncodingKind::Legacy;
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian)
{
    char bytes[2] = { char(bigEndian ? unit >> 8 : unit & 0xFF), char(bigEndian ? unit & 0xFF : unit >> 8) };
    out.append(bytes, 2);
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

} // namespace

void UseLatin1CodePage()
{
    for (int byte = 0; byte < 256; ++byte) {
        g_codePages.legacyByte[byte] = char16_t(byte);
        g_codePages.legacyLeadByte[byte] = false;
    }
    g_codePages.decodeLegacyPair = nullptr;
    g_codePages.encodeLegacy = nullptr;
}

const char* EncodingName(FileEncoding encoding)
{
    switch (encoding.kind) {
    case EncodingKind::Utf8:
        return encoding.byteOrderMark ? "UTF-8 BOM" : "UTF-8";
    case EncodingKind::Utf16Le:
        return "UTF-16 LE";
    case EncodingKind::Utf16Be:
        return "UTF-16 BE";
    default:
        return "ANSI";
    }
}

FileEncoding DetectEncoding(const char* data, size_t size, bool processUtf8)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return { EncodingKind::Utf8, true };
    // A marked UTF-16 file of odd length cannot go back as it came: keep its bytes.
    if (size >= 2 && size % 2 == 0 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return { EncodingKind::Utf16Le, true };
    if (size >= 2 && size % 2 == 0 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return { EncodingKind::Utf16Be, true };
    EncodingKind unmarked = DetectUnmarkedUtf16(bytes, size);
    if (unmarked != EncodingKind::Legacy)
        return { unmarked, false };
    bool multiByte;
    if (IsStrictUtf8(bytes, size, &multiByte) && (multiByte || processUtf8))
        return { EncodingKind::Utf8, false };
    return {};
}

size_t ByteOrderMarkLength(FileEncoding encoding)
{
    return ByteOrderMark(encoding).size();
}

std::string_view ByteOrderMark(FileEncoding encoding)
{
    if (!encoding.byteOrderMark)
        return {};
    switch (encoding.kind) {
    case EncodingKind::Utf8:
        return std::string_view("\xEF\xBB\xBF", 3);
    case EncodingKind::Utf16Le:
        return std::string_view("\xFF\xFE", 2);
    case EncodingKind::Utf16Be:
        return std::string_view("\xFE\xFF", 2);
    default:
        return {};
    }
}

std::string Utf16BytesToStore(const char* data, size_t size, bool bigEndian)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    size_t units = size / 2;
    auto unitAt = [&](size_t i) -> char32_t {
        return bigEndian ? char32_t(bytes[2 * i]) << 8 | bytes[2 * i + 1] : char32_t(bytes[2 * i + 1]) << 8 | bytes[2 * i];
    };
    std::string out;
    out.reserve(size + size / 2);
    for (size_t i = 0; i < units; ++i) {
        char32_t unit = unitAt(i);
        if (unit < 0x80) {
            out.push_back(char(unit));
            continue;
        }
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
            char32_t low = unitAt(++i);
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, unit);
    }
    return out;
}

std::string StoreToUtf16Bytes(const char* data, size_t size, bool bigEndian)
{
    std::string out;
    out.reserve(size * 2);
    size_t length;
    for (size_t pos = 0; pos < size; pos += length) {
        auto byte = static_cast<unsigned char>(data[pos]);
        if (byte < 0x80) {
            AppendUnit(out, byte, bigEndian);
            length = 1;
            continue;
        }
        char32_t character = DecodeChar(data, size, pos, true, &length);
        if (character >= INVALID_BYTE_BASE)
            character = 0xFFFD;
        if (character >= 0x10000) {
            character -= 0x10000;
            AppendUnit(out, char16_t(0xD800 + (character >> 10)), bigEndian);
            AppendUnit(out, char16_t(0xDC00 + (character & 0x3FF)), bigEndian);
        } else {
            AppendUnit(out, char16_t(character), bigEndian);
        }
    }
    return out;
}

size_t CharLength(const char* text, size_t size, size_t pos, bool utf8)
{
    auto byte = static_cast<unsigned char>(text[pos]);
    if (utf8) {
        if (byte < 0x80)
            return 1;
        size_t length = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(text), size, pos, true);
        return length ? length : 1;
    }
    return g_codePages.legacyLeadByte[byte] && pos + 1 < size ? 2 : 1;
}

size_t PreviousCharStart(const char* text, size_t size, size_t pos, bool utf8)
{
    if (utf8) {
        for (size_t back = 2; back <= 4 && back <= pos; ++back) {
            size_t start = pos - back;
            if (!IsContinuation(static_cast<unsigned char>(text[start])) && CharLength(text, size, start, true) == back)
                return start;
        }
        return pos - 1;
    }
    // Trail bytes of a double-byte code page look like lead bytes: walk from the start.
    size_t start = 0;
    for (size_t next; (next = start + CharLength(text, size, start, false)) < pos;)
        start = next;
    return start;
}

char32_t DecodeChar(const char* text, size_t size, size_t pos, bool utf8, size_t* length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (utf8) {
        size_t sequence = bytes[pos] < 0x80 ? 1 : Utf8SequenceLength(bytes, size, pos, true);
        if (sequence == 0) {
            *length = 1;
            return INVALID_BYTE_BASE + bytes[pos];
        }
        *length = sequence;
        return DecodeUtf8(bytes, pos, sequence);
    }
    *length = CharLength(text, size, pos, false);
    if (*length == 2) {
        char16_t pair = g_codePages.decodeLegacyPair ? g_codePages.decodeLegacyPair(bytes[pos], bytes[pos + 1]) : 0;
        if (pair)
            return pair;
        *length = 1;
    }
    char16_t single = g_codePages.legacyByte[bytes[pos]];
    // A byte the code page leaves undefined is still a byte of the file.
    return single || bytes[pos] == 0 ? char32_t(single) : INVALID_BYTE_BASE + bytes[pos];
}

void AppendUtf16(std::u16string& out, char32_t character)
{
    if (character >= INVALID_BYTE_BASE) {
        out.push_back(u'\xFFFD');
    } else if (character >= 0x10000) {
        character -= 0x10000;
        out.push_back(char16_t(0xD800 + (character >> 10)));
        out.push_back(char16_t(0xDC00 + (character & 0x3FF)));
    } else {
        out.push_back(char16_t(character));
    }
}

void AppendUtf8(std::string& out, char32_t character)
{
    if (character < 0x80) {
        out.push_back(char(character));
    } else if (character < 0x800) {
        out.push_back(char(0xC0 | (character >> 6)));
        out.push_back(char(0x80 | (character & 0x3F)));
    } else if (character < 0x10000) {
        out.push_back(char(0xE0 | (character >> 12)));
        out.push_back(char(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(char(0x80 | (character & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (character >> 18)));
        out.push_back(char(0x80 | ((character >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(char(0x80 | (character & 0x3F)));
    }
}

std::u16string StoreToUtf16(std::string_view text, bool utf8)
{
    std::u16string out;
    out.reserve(text.size());
    size_t length;
    for (size_t pos = 0; pos < text.size(); pos += length)
        AppendUtf16(out, DecodeChar(text.data(), text.size(), pos, utf8, &length));
    return out;
}

namespace {

// One UTF-16 character into a legacy store.
bool EncodeLegacyCharacter(std::u16string_view character, std::string& out)
{
    if (g_codePages.encodeLegacy)
        return g_codePages.encodeLegacy(character, out);
    if (character.size() == 1 && character[0] < 0x100) {
        out.push_back(char(character[0]));
        return true;
    }
    out.push_back('?');
    return false;
}

} // namespace

bool Utf16ToStore(std::u16string_view text, bool utf8, std::string& out)
{
    out.clear();
    bool exact = true;
    for (size_t i = 0; i < text.size();) {
        size_t units = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        if (utf8) {
            char32_t character = text[i];
            if (units == 2)
                character = 0x10000 + ((character - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendUtf8(out, character);
        } else {
            exact &= EncodeLegacyCharacter(text.substr(i, units), out);
        }
        i += units;
    }
    return exact;
}

bool ConvertStore(std::string_view text, bool fromUtf8, bool toUtf8, std::string& out)
{
    if (fromUtf8 == toUtf8) {
        out.assign(text);
        return true;
    }
    return Utf16ToStore(StoreToUtf16(text, fromUtf8), toUtf8, out);
}
