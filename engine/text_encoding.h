// Characters in the bytes of a text store. A file's text lives in its store in
// one of two forms: the user's legacy code page (8-bit files, binary files, all
// that is not clearly Unicode) or UTF-8 (UTF-8 files, and UTF-16 files, which
// are converted when they load and back when they are saved). Everything that
// steps, draws, compares or converts characters goes through here, so no
// caller splits a multi-byte sequence. Portable: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class EncodingKind : uint8_t { Legacy, Utf8, Utf16Le, Utf16Be };

struct FileEncoding {
    EncodingKind kind = EncodingKind::Legacy;
    bool byteOrderMark = false;
};

inline bool operator==(FileEncoding a, FileEncoding b) { return a.kind == b.kind && a.byteOrderMark == b.byteOrderMark; }
inline bool operator!=(FileEncoding a, FileEncoding b) { return !(a == b); }

// A UTF-16 file is held as UTF-8, so the store of every Unicode file is UTF-8.
inline bool StoreIsUtf8(FileEncoding encoding) { return encoding.kind != EncodingKind::Legacy; }

// What the status bar shows: "UTF-8", "UTF-8 BOM", "UTF-16 LE", "UTF-16 BE", "ANSI".
const char* EncodingName(FileEncoding encoding);

// The code pages the process meets, filled by start-up on Windows. Natively
// (tests, tools) the legacy code page is Latin-1 and the process is not UTF-8.
struct CodePages {
    bool processUtf8 = false;        // the process's ANSI code page is UTF-8
    char16_t legacyByte[256] = {};   // a single byte of the legacy code page as UTF-16
    bool legacyLeadByte[256] = {};   // first byte of a double-byte character
    // The legacy code page's double-byte character lead,trail; 0 when undefined.
    char16_t (*decodeLegacyPair)(unsigned char lead, unsigned char trail) = nullptr;
    // Legacy bytes of one UTF-16 character (1 or 2 units); false when the
    // code page cannot hold it, out then holds the system's substitute.
    bool (*encodeLegacy)(std::u16string_view character, std::string& out) = nullptr;
};
extern CodePages g_codePages;
// Latin-1 tables, no double-byte characters (what native builds start with).
void UseLatin1CodePage();

// How a file's bytes are read: byte-order marks first, then UTF-16 without a
// mark (even length, no 00 00 unit, an LF unit, at least 90 % zero bytes at one
// parity, all within the first 64 KB), then UTF-8 without a mark (at least one
// multi-byte sequence and no invalid one; pure ASCII counts as UTF-8 only in a
// UTF-8 process), else the legacy code page.
FileEncoding DetectEncoding(const char* data, size_t size, bool processUtf8);
// Length of the byte-order mark that starts a file of this encoding (0 if none).
size_t ByteOrderMarkLength(FileEncoding encoding);
// The byte-order mark's bytes ("" when the encoding has none).
std::string_view ByteOrderMark(FileEncoding encoding);

// UTF-16 bytes (no mark) to the store's UTF-8. An unpaired surrogate becomes
// its own 3-byte form so that it goes back unchanged; a final odd byte is
// dropped, so callers check the length first.
std::string Utf16BytesToStore(const char* data, size_t size, bool bigEndian);
// The store's UTF-8 back to UTF-16 bytes. Bytes that are not UTF-8 (none in a
// store loaded from UTF-16; a caller's mistake otherwise) become U+FFFD.
std::string StoreToUtf16Bytes(const char* data, size_t size, bool bigEndian);

// Length of the character at text[pos] (pos < size): a whole UTF-8 sequence
// (surrogates' 3-byte forms included) in a UTF-8 store, a lead byte with its
// trail in a double-byte legacy code page; otherwise, and for any byte that is
// not valid where it stands, 1.
size_t CharLength(const char* text, size_t size, size_t pos, bool utf8);
// Where the character that ends at pos starts (pos > 0).
size_t PreviousCharStart(const char* text, size_t size, size_t pos, bool utf8);
// The character at text[pos] as a code point, its length in *length. A UTF-8
// surrogate form gives the surrogate; a byte that is not valid gives
// INVALID_BYTE_BASE + byte, so it never equals a real character.
constexpr char32_t INVALID_BYTE_BASE = 0x110000;
char32_t DecodeChar(const char* text, size_t size, size_t pos, bool utf8, size_t* length);

// Appends a code point as UTF-16 (an invalid byte as U+FFFD).
void AppendUtf16(std::u16string& out, char32_t character);
// Appends a code point as UTF-8 (surrogates in their 3-byte form).
void AppendUtf8(std::string& out, char32_t character);

// A store's bytes as UTF-16, e.g. for drawing or the clipboard. Invalid bytes
// of a UTF-8 store become U+FFFD; legacy bytes go through g_codePages.
std::u16string StoreToUtf16(std::string_view text, bool utf8);
// UTF-16 (typed, pasted) to a store's bytes. In a legacy store a character the
// code page cannot hold becomes the system's substitute and the result is
// false; the text is converted all the same.
bool Utf16ToStore(std::u16string_view text, bool utf8, std::string& out);
// Converts store bytes between the two forms (merging between panes of
// different encodings); false where a character had no legacy form.
bool ConvertStore(std::string_view text, bool fromUtf8, bool toUtf8, std::string& out);
