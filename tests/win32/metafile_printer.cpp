#include "metafile_printer.h"

#include <algorithm>

#include <map>

namespace {

const char MARK_PREFIX[] = "zel:";

// UTF-8, so tests can look for the characters a page shows.
std::string Narrow(const wchar_t* text, size_t count)
{
    if (count == 0)
        return std::string();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), &out[0], length, nullptr, nullptr);
    return out;
}

struct ObjectInfo {
    bool isFont = false;
    int weight = 0;
    bool underline = false;
    std::string face;
    int penWidth = 0;
};

// Walks the records, keeping track of the selected font, pen and clipping.
struct Reader {
    std::vector<PrintedPage> pages;
    bool inPage = false;
    std::map<DWORD, ObjectInfo> objects;
    ObjectInfo font;
    int penWidth = 0;
    bool hasRegion = false;
    RECT region = {};
    POINT position = {};

    void Record(const ENHMETARECORD* record)
    {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(record);
        switch (record->iType) {
        case EMR_GDICOMMENT: {
            auto comment = reinterpret_cast<const EMRGDICOMMENT*>(record);
            std::string data(reinterpret_cast<const char*>(comment->Data), comment->cbData);
            if (data.rfind(MARK_PREFIX, 0) != 0)
                break;
            if (data == "zel:StartPage") {
                pages.emplace_back();
                inPage = true;
            } else if (data == "zel:EndPage" || data == "zel:AbortDoc") {
                inPage = false;
            }
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
            auto create = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
            ObjectInfo info;
            info.isFont = true;
            info.weight = create->elfw.elfLogFont.lfWeight;
            info.underline = create->elfw.elfLogFont.lfUnderline != 0;
            info.face = Narrow(create->elfw.elfLogFont.lfFaceName, wcsnlen(create->elfw.elfLogFont.lfFaceName, 32));
            objects[create->ihFont] = info;
            break;
        }
        case EMR_CREATEPEN: {
            auto create = reinterpret_cast<const EMRCREATEPEN*>(record);
            ObjectInfo info;
            info.penWidth = create->lopn.lopnWidth.x;
            objects[create->ihPen] = info;
            break;
        }
        case EMR_SELECTOBJECT: {
            DWORD handle = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
            if (handle & 0x80000000) {
                // Stock objects: only the pen matters, and stock pens are thin.
                DWORD stock = handle & 0x7FFFFFFF;
                if (stock == BLACK_PEN || stock == WHITE_PEN || stock == NULL_PEN || stock == DC_PEN)
                    penWidth = 0;
                break;
            }
            auto found = objects.find(handle);
            if (found == objects.end())
                break;
            if (found->second.isFont)
                font = found->second;
            else
                penWidth = found->second.penWidth;
            break;
        }
        case EMR_EXTSELECTCLIPRGN: {
            auto select = reinterpret_cast<const EMREXTSELECTCLIPRGN*>(record);
            if (select->cbRgnData == 0) {
                hasRegion = false;
            } else {
                auto data = reinterpret_cast<const RGNDATAHEADER*>(select->RgnData);
                region = data->rcBound;
                hasRegion = true;
            }
            break;
        }
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA: {
            if (!inPage)
                break;
            auto out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            PrintedText text;
            const BYTE* string = bytes + out->emrtext.offString;
            if (record->iType == EMR_EXTTEXTOUTW)
                text.text = Narrow(reinterpret_cast<const wchar_t*>(string), out->emrtext.nChars);
            else
                text.text.assign(reinterpret_cast<const char*>(string), out->emrtext.nChars);
            text.x = out->emrtext.ptlReference.x;
            text.y = out->emrtext.ptlReference.y;
            text.weight = font.weight;
            text.underline = font.underline;
            text.face = font.face;
            text.clippedToRect = (out->emrtext.fOptions & ETO_CLIPPED) != 0;
            text.clipRect = { out->emrtext.rcl.left, out->emrtext.rcl.top, out->emrtext.rcl.right,
                              out->emrtext.rcl.bottom };
            text.hasRegion = hasRegion;
            text.region = region;
            pages.back().texts.push_back(text);
            break;
        }
        case EMR_MOVETOEX:
            position = { reinterpret_cast<const EMRMOVETOEX*>(record)->ptl.x,
                         reinterpret_cast<const EMRMOVETOEX*>(record)->ptl.y };
            break;
        case EMR_LINETO: {
            POINT to = { reinterpret_cast<const EMRLINETO*>(record)->ptl.x,
                         reinterpret_cast<const EMRLINETO*>(record)->ptl.y };
            if (inPage)
                pages.back().lines.push_back({ position.x, position.y, to.x, to.y, penWidth });
            position = to;
            break;
        }
        default: break;
        }
    }

    static int CALLBACK Enumerate(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
    {
        reinterpret_cast<Reader*>(data)->Record(record);
        return 1;
    }
};

} // namespace

std::vector<PrintedText> PrintedPage::TextsBetween(int from, int to) const
{
    std::vector<PrintedText> found;
    for (const PrintedText& text : texts)
        if (text.x >= from && text.x < to)
            found.push_back(text);
    return found;
}

const PrintedText* PrintedPage::Find(const std::string& wanted) const
{
    for (const PrintedText& text : texts)
        if (text.text == wanted)
            return &text;
    return nullptr;
}

MetafilePrinter::MetafilePrinter()
{
    m_dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, "zelvane test\0page\0");
}

MetafilePrinter::~MetafilePrinter()
{
    if (m_dc)
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(m_dc));
    if (m_metafile)
        ::DeleteEnhMetaFile(m_metafile);
}

PageMetrics MetafilePrinter::Metrics(const PrintFonts& fonts)
{
    PageMetrics metrics = MeasurePage(m_dc, fonts);
    if (adjustMetrics)
        adjustMetrics(metrics);
    return metrics;
}

void MetafilePrinter::Mark(const std::string& name)
{
    calls.push_back(name);
    std::string data = MARK_PREFIX + name.substr(0, name.find(' '));
    ::GdiComment(m_dc, static_cast<UINT>(data.size()), reinterpret_cast<const BYTE*>(data.data()));
}

int MetafilePrinter::StartDoc(const DOCINFOA& info)
{
    documentName = info.lpszDocName ? info.lpszDocName : "";
    Mark("StartDoc");
    return failStartDoc == 1 ? SP_ERROR : 1;
}

int MetafilePrinter::StartPage()
{
    ++m_startPages;
    Mark("StartPage " + std::to_string(m_startPages));
    if (onStartPage)
        onStartPage(m_startPages);
    return failStartPage == m_startPages ? SP_ERROR : 1;
}

int MetafilePrinter::EndPage()
{
    ++m_endPages;
    Mark("EndPage " + std::to_string(m_endPages));
    return failEndPage == m_endPages ? SP_ERROR : 1;
}

int MetafilePrinter::EndDoc()
{
    Mark("EndDoc");
    return failEndDoc == 1 ? SP_ERROR : 1;
}

int MetafilePrinter::AbortDoc()
{
    Mark("AbortDoc");
    return 1;
}

std::vector<PrintedPage> MetafilePrinter::Pages()
{
    if (m_dc) {
        m_metafile = ::CloseEnhMetaFile(m_dc);
        m_dc = nullptr;
    }
    Reader reader;
    if (m_metafile)
        ::EnumEnhMetaFile(nullptr, m_metafile, Reader::Enumerate, &reader, nullptr);
    return reader.pages;
}

PrintLayout LayoutOn(MetafilePrinter& printer)
{
    PrintFonts fonts;
    fonts.Create(printer.Dc());
    return ComputePrintLayout(printer.Metrics(fonts));
}
