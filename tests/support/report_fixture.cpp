#include "support/report_fixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "record/record_store.h"

namespace trellicap::test {

FakeReportSource::FakeReportSource(const ModelProfile& profile) {
    RecordStore store(profile);
    store.loadStartupTrace();
    m_plot = std::make_unique<Canvas>(5205, 4665, Canvas::Unit::Point);
    displayPattern(*m_plot, store.capture());
    for (const PanelCell& cell : profile.panelCells) {
        m_texts[std::string(cell.control)] = QString::fromLatin1(cell.designText);
    }
    m_texts["txtbeam"] = QStringLiteral("123.4");
    m_texts["txtsurf"] = QStringLiteral("56.7");
    m_texts["txtdpth"] = QStringLiteral("89.0");
    for (const HeaderField& field : profile.headerFields) {
        m_texts[std::string(field.control)] = QStringLiteral("Field %1").arg(field.firstRow);
    }
}

QImage FakeReportSource::plotImage(double dpi) const {
    return m_plot->image(dpi);
}

QString FakeReportSource::controlText(std::string_view control) const {
    m_asked.insert(std::string(control));
    const auto it = m_texts.find(std::string(control));
    return it == m_texts.end() ? QString() : it->second;
}

namespace {

template <typename Test>
int countWhere(const QImage& image, const QRect& area, Test test) {
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (test(image.pixelColor(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace

int countDark(const QImage& image, const QRect& area) {
    return countWhere(image, area,
                      [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; });
}

int countGreen(const QImage& image, const QRect& area) {
    return countWhere(image, area,
                      [](QColor c) { return c.green() > 120 && c.red() < 90 && c.blue() < 90; });
}

int countColour(const QImage& image, const QRect& area, QColor colour) {
    return countWhere(image, area, [colour](QColor c) { return c.rgb() == colour.rgb(); });
}

QImage renderPdfPage(const QString& pdf, int dpi, const QString& workDir) {
    return renderPdfPageNumber(pdf, 1, dpi, workDir);
}

QImage renderPdfPageNumber(const QString& pdf, int page, int dpi, const QString& workDir) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        return {};
    }
    const QString stem = QDir(workDir).filePath(QStringLiteral("rendered-page"));
    const QString number = QString::number(page);
    const int status = QProcess::execute(
        pdftoppm,
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
         number, QStringLiteral("-l"), number, QStringLiteral("-singlefile"), pdf, stem});
    return status == 0 ? QImage(stem + QStringLiteral(".png")) : QImage();
}

int pdfPageCount(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return -1;
    }
    for (const QString& line :
         QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("Pages:"))) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

std::vector<PdfImage> listPdfImages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    std::vector<PdfImage> images;
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return images;
    }
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines[i].simplified().split(QLatin1Char(' '));
        if (fields.size() >= 14) {
            images.push_back({fields[8], fields[12].toInt(), fields[13].toInt()});
        }
    }
    return images;
}

double darkRunCentre(const QImage& image, QPoint from, QPoint step, int limit) {
    const auto dark = [&image](QPoint p) {
        const QColor c = image.pixelColor(p);
        return image.rect().contains(p) && c.red() < 100 && c.green() < 100 && c.blue() < 100;
    };
    QPoint p = from;
    int i = 0;
    while (i < limit && !dark(p)) {
        p += step;
        ++i;
    }
    if (i == limit) {
        return -1;
    }
    const int first = i;
    while (i < limit && dark(p)) {
        p += step;
        ++i;
    }
    const double centre = (first + i - 1) / 2.0;
    return step.x() != 0 ? from.x() + centre * step.x() : from.y() + centre * step.y();
}

void writeStaleBitmap(const QString& path) {
    QImage stale(10, 10, QImage::Format_RGB32);
    stale.fill(Qt::red);
    stale.save(path, "BMP");
}

}  // namespace trellicap::test
