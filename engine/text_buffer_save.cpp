// Saving a TextBuffer: the rows in display order, fillers left out, written
// to a temporary file that replaces the target only once it is complete.
#include "text_buffer.h"

#include <new>

#include "framework/exceptions.h"
#include "framework/file.h"

namespace {

// Store bytes converted at a time when saving as UTF-16: the file never
// exists twice in memory.
constexpr uint32_t UTF16_CHUNK = 64 * 1024;

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Writes store bytes in the file's encoding: as they are, or as UTF-16.
class EncodedWriter {
public:
    EncodedWriter(CFile& file, FileEncoding encoding)
        : file(file), utf16(encoding.kind == EncodingKind::Utf16Le || encoding.kind == EncodingKind::Utf16Be),
          bigEndian(encoding.kind == EncodingKind::Utf16Be)
    {
    }

    void Write(const char* bytes, uint32_t length)
    {
        if (!utf16) {
            file.Write(bytes, length);
            return;
        }
        while (length > 0) {
            uint32_t part = length;
            if (part > UTF16_CHUNK) {
                // Cut where a character starts. Where the last three bytes and
                // the next are all continuation bytes, no character spans the
                // chunk's end, so it is cut there.
                part = UTF16_CHUNK;
                uint32_t cut = part;
                while (cut > part - 3 && IsContinuation(bytes[cut]))
                    --cut;
                if (!IsContinuation(bytes[cut]))
                    part = cut;
            }
            std::string units;
            try {
                units = StoreToUtf16Bytes(bytes, part, bigEndian);
            } catch (const std::bad_alloc&) {
                AfxThrowMemoryException();
            }
            file.Write(units.data(), static_cast<uint32_t>(units.size()));
            bytes += part;
            length -= part;
        }
    }

private:
    CFile& file;
    const bool utf16;
    const bool bigEndian;
};

} // namespace

std::string TemporaryFileNameFor(const std::string& fileName)
{
    // Windows takes forward slashes as separators too.
    size_t separator = fileName.find_last_of("\\/");
    if (separator != std::string::npos)
        return fileName.substr(0, separator + 1) + "orvinta.tmp";
    if (fileName.size() >= 2 && fileName[1] == ':')
        return fileName.substr(0, 2) + "\\orvinta.tmp";
    return "orvinta.tmp";
}

bool TextBuffer::Save(const std::string& fileName) const
{
    CFile file;
    // Named once this save has made its file: the only file it may remove.
    std::string temporary;
    try {
        // Never a file that exists already: it may be the user's own.
        file.OpenNew(TemporaryFileNameFor(fileName), CFile::modeWrite | CFile::shareExclusive);
        temporary = file.GetFilePath();
        std::string_view mark = ByteOrderMark(encoding);
        if (!mark.empty())
            file.Write(mark.data(), static_cast<uint32_t>(mark.size()));
        EncodedWriter writer(file, encoding);
        // Neighbouring rows usually lie back to back in the store: gather them
        // into one write.
        uint32_t runStart = 0;
        uint32_t runEnd = 0;
        for (uint32_t row = 0; row < rowCount; ++row) {
            const DisplayRow& display = rows[row];
            if (display.flagsAndOffset & ROW_FILLER)
                continue;
            uint32_t start = display.flagsAndOffset & ROW_OFFSET_MASK;
            uint32_t end = start + display.length;
            if (end < textUsed && text[end] == '\r')
                ++end;
            if (end < textUsed && text[end] == '\n')
                ++end;
            if (start != runEnd || runEnd == runStart) {
                if (runEnd > runStart)
                    writer.Write(text + runStart, runEnd - runStart);
                runStart = start;
            }
            runEnd = end;
        }
        if (runEnd > runStart)
            writer.Write(text + runStart, runEnd - runStart);
        file.Flush();
        file.Close();
        CFile::Replace(temporary, fileName);
        return true;
    } catch (const CException&) {
        file.Abort();
        if (!temporary.empty()) {
            try {
                CFile::Remove(temporary);
            } catch (const CException&) {
                // Nothing more can be done; the target is still as it was.
            }
        }
        return false;
    }
}
