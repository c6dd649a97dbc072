// A printer for tests: the pages are drawn onto an enhanced metafile, the
// document calls are recorded (and can be made to fail), and the metafile's
// records are read back page by page as texts, lines and clipping rectangles.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "printing/print_job.h"

struct PrintedText {
    std::string text;
    int x = 0;
    int y = 0;
    int weight = 0;          // of the font selected when it was drawn
    bool underline = false;  // of that font too
    std::string face;
    bool clippedToRect = false; // ETO_CLIPPED with clipRect
    RECT clipRect = {};         // ExtTextOut's own rectangle
    RECT region = {};           // the clipping region's bounds, when one was selected
    bool hasRegion = false;
};

struct PrintedLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int penWidth = 0; // 0: the default pen
};

struct PrintedPage {
    std::vector<PrintedText> texts;
    std::vector<PrintedLine> lines;
    // The texts whose x is at or right of `from` and left of `to`, top to bottom.
    std::vector<PrintedText> TextsBetween(int from, int to) const;
    const PrintedText* Find(const std::string& text) const;
};

class MetafilePrinter : public PrintDevice {
public:
    MetafilePrinter();
    ~MetafilePrinter() override;

    HDC Dc() override { return m_dc; }
    PageMetrics Metrics(const PrintFonts& fonts) override;
    int StartDoc(const DOCINFOA& info) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

    // Closes the metafile and splits its records into the pages between
    // StartPage and EndPage (an aborted page counts too).
    std::vector<PrintedPage> Pages();

    // The document calls in order, e.g. "StartDoc", "StartPage", "EndPage 1".
    std::vector<std::string> calls;
    std::string documentName;
    // Make the n-th call of a kind fail (1-based; 0 never).
    int failStartDoc = 0;
    int failStartPage = 0;
    int failEndPage = 0;
    int failEndDoc = 0;
    // Called at every StartPage with its number, before it returns.
    std::function<void(int)> onStartPage;
    // Changes what the device reports (a smaller page, say).
    std::function<void(PageMetrics&)> adjustMetrics;

private:
    void Mark(const std::string& name);
    HDC m_dc = nullptr;
    HENHMETAFILE m_metafile = nullptr;
    int m_startPages = 0;
    int m_endPages = 0;
};

// The layout a job computes on this device, for checking positions.
PrintLayout LayoutOn(MetafilePrinter& printer);
