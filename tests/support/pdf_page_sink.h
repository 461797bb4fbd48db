// A page sink that writes each job to a PDF file of its own (A4, no margins, so the
// printable area starts at the page corner).
#pragma once

#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <memory>

#include "report/page_sink.h"

namespace trellicap {

class PdfPageSink : public PageSink {
public:
    // `filePattern` names each job's file; "%1" in it becomes the job number from 1 (without
    // it every job writes the same file).
    explicit PdfPageSink(QString filePattern, int resolutionDpi = 600);
    ~PdfPageSink() override;

    [[nodiscard]] double resolution() const override { return m_resolution; }
    [[nodiscard]] bool ready() const override { return !m_pattern.isEmpty(); }
    bool begin() override;
    bool place(QPoint twips, const QImage& image) override;
    bool end() override;

    // The files of the jobs that ended well, in order.
    [[nodiscard]] const QStringList& files() const { return m_files; }

private:
    QString m_pattern;
    int m_resolution;
    int m_jobs = 0;
    QString m_current;
    QStringList m_files;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;  // declared after the writer: ends before the writer goes
};

}  // namespace trellicap
