// Saving a TextBuffer: the rows in display order, fillers left out, written
// to a temporary file that replaces the target only once it is complete.
#include "text_buffer.h"

#include "framework/file.h"

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
                    file.Write(text + runStart, runEnd - runStart);
                runStart = start;
            }
            runEnd = end;
        }
        if (runEnd > runStart)
            file.Write(text + runStart, runEnd - runStart);
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
