// Where a report page goes: the printer in the program, a PDF file or a recording in tests.
// A report is one job of one page: begin, place the bitmaps, end.
#pragma once

#include <QImage>
#include <QPoint>

namespace trellicap {

class PageSink {
public:
    virtual ~PageSink() = default;
    // Dots per inch of the page: the report composes its bitmaps for it.
    [[nodiscard]] virtual double resolution() const = 0;
    // Whether a job could be started at all (a printer or a file is designated).
    [[nodiscard]] virtual bool ready() const = 0;
    // Starts a job of one page; false when it cannot start.
    virtual bool begin() = 0;
    // Places an image at its own physical size (by the resolution it carries) with its top-left
    // corner `twips` from the top-left corner of the printable area; false when not placed.
    virtual bool place(QPoint twips, const QImage& image) = 0;
    // Ends the page and the job; false when the job failed.
    virtual bool end() = 0;
};

}  // namespace trellicap
