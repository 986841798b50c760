#include "platform/win32/bar_chart.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/owned_handle.h"

namespace quillstep {
namespace {

std::vector<std::string> split(const std::string& text, char mark) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(mark, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

struct Bar {
    double value = 0;
    std::vector<std::string> labels;
};

struct Chart {
    bool hasLine = false;
    double line = 0;
    std::string lineCaption;
    std::vector<std::string> rowCaptions;
    std::vector<Bar> bars;
};

Chart parseChart(const std::string& text) {
    Chart chart;
    const std::vector<std::string> lines = split(text, '\n');
    if (lines.size() < 3) return chart;
    const std::vector<std::string> line = split(lines[0], '\t');
    if (!line[0].empty()) {
        chart.hasLine = true;
        chart.line = std::atof(line[0].c_str());
        chart.lineCaption = line.size() > 1 ? line[1] + " " + line[0] : line[0];
    }
    chart.rowCaptions = split(lines[1], '\t');
    for (size_t k = 2; k < lines.size(); ++k) {
        std::vector<std::string> fields = split(lines[k], '\t');
        Bar bar;
        bar.value = std::max(0.0, std::atof(fields[0].c_str()));
        bar.labels.assign(fields.begin() + 1, fields.end());
        chart.bars.push_back(std::move(bar));
    }
    return chart;
}

SIZE textSize(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void fill(HDC dc, const RECT& box, COLORREF colour) {
    const OwnedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &box, brush.get());
}

void text(HDC dc, const std::string& words, RECT box, UINT format) {
    DrawTextA(dc, words.c_str(), static_cast<int>(words.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void drawBarChart(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT box = item.rcItem;
    const int length = GetWindowTextLengthA(item.hwndItem);
    std::string data(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    GetWindowTextA(item.hwndItem, data.data(), length + 1);
    data.resize(static_cast<size_t>(std::max(length, 0)));

    fill(dc, box, GetSysColor(COLOR_BTNFACE));
    const Chart chart = parseChart(data);
    if (chart.bars.empty()) return;

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    const SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int rowHeight = metrics.tmHeight;

    int captionWidth = 0;
    for (const std::string& caption : chart.rowCaptions) captionWidth = std::max<int>(captionWidth, textSize(dc, caption).cx);
    captionWidth += metrics.tmAveCharWidth;
    const int rows = static_cast<int>(chart.rowCaptions.size());
    RECT plot{box.left + captionWidth, box.top + rowHeight, box.right - 2, box.bottom - rows * rowHeight - 4};
    if (plot.bottom <= plot.top || plot.right <= plot.left) return;
    fill(dc, plot, GetSysColor(COLOR_WINDOW));
    FrameRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));

    double highest = chart.hasLine ? chart.line : 0;
    for (const Bar& bar : chart.bars) highest = std::max(highest, bar.value);
    if (highest <= 0) highest = 1;
    highest *= 1.08;  // room above the tallest bar
    const int n = static_cast<int>(chart.bars.size());
    const double slot = static_cast<double>(plot.right - plot.left) / n;
    const int height = plot.bottom - plot.top - 1;
    const auto yOf = [&](double value) { return plot.bottom - 1 - static_cast<int>(value / highest * height + 0.5); };

    for (int i = 0; i < n; ++i) {
        const int left = plot.left + static_cast<int>(slot * i + slot * 0.18);
        const int right = plot.left + static_cast<int>(slot * (i + 1) - slot * 0.18);
        fill(dc, RECT{left, yOf(chart.bars[static_cast<size_t>(i)].value), std::max(right, left + 1), plot.bottom - 1},
             RGB(70, 110, 180));
        for (int r = 0; r < rows; ++r) {
            const std::vector<std::string>& labels = chart.bars[static_cast<size_t>(i)].labels;
            if (static_cast<size_t>(r) >= labels.size()) break;
            const int top = plot.bottom + 3 + r * rowHeight;
            text(dc, labels[static_cast<size_t>(r)],
                 RECT{plot.left + static_cast<int>(slot * i) - 4, top, plot.left + static_cast<int>(slot * (i + 1)) + 4,
                      top + rowHeight},
                 DT_CENTER | DT_TOP);
        }
    }
    for (int r = 0; r < rows; ++r) {
        const int top = plot.bottom + 3 + r * rowHeight;
        text(dc, chart.rowCaptions[static_cast<size_t>(r)], RECT{box.left, top, plot.left - 2, top + rowHeight},
             DT_LEFT | DT_TOP);
    }
    if (chart.hasLine) {
        const int y = yOf(chart.line);
        {
            const OwnedPen pen(CreatePen(PS_SOLID, std::max(1, rowHeight / 8), RGB(200, 40, 40)));
            const SelectedObject selectedPen(dc, pen.get());
            MoveToEx(dc, plot.left + 1, y, nullptr);
            LineTo(dc, plot.right - 1, y);
        }  // the old pen is back before this one goes
        SetTextColor(dc, RGB(200, 40, 40));
        text(dc, chart.lineCaption, RECT{box.left, y - rowHeight / 2, plot.left - 2, y + rowHeight}, DT_LEFT | DT_TOP);
    }
    // The scale: the value at the top of the plot.
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    char top[32];
    std::snprintf(top, sizeof top, "%.0f", highest);
    text(dc, top, RECT{box.left, plot.top - rowHeight / 2, plot.left - 2, plot.top + rowHeight}, DT_LEFT | DT_TOP);
    text(dc, "0", RECT{box.left, plot.bottom - rowHeight, plot.left - 2, plot.bottom}, DT_LEFT | DT_TOP);
}

}  // namespace quillstep
