#include "report/ui/printer_memory.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace trellicap {

namespace {

const QString kGroup = QStringLiteral("printer");

}  // namespace

void rememberPrinterChoice(const QPrinter& printer, const QString& settingsFile) {
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(kGroup);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    settings.setValue(QStringLiteral("output"),
                      toFile ? QStringLiteral("pdf") : QStringLiteral("printer"));
    settings.setValue(QStringLiteral("file"), printer.outputFileName());
    settings.setValue(QStringLiteral("name"), printer.printerName());
    settings.setValue(QStringLiteral("pageSize"), printer.pageLayout().pageSize().key());
    settings.setValue(QStringLiteral("landscape"),
                      printer.pageLayout().orientation() == QPageLayout::Landscape);
    settings.setValue(QStringLiteral("colour"), printer.colorMode() == QPrinter::Color);
    settings.setValue(QStringLiteral("duplex"), static_cast<int>(printer.duplex()));
    settings.endGroup();
    settings.sync();
}

void recallPrinterChoice(QPrinter& printer, const QString& settingsFile) {
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(kGroup);
    const QString output = settings.value(QStringLiteral("output")).toString();
    if (output == QLatin1String("pdf")) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.value(QStringLiteral("file")).toString());
    } else if (output == QLatin1String("printer")) {
        const QString name = settings.value(QStringLiteral("name")).toString();
        if (!QPrinterInfo::printerInfo(name).isNull()) {
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName(name);
        }
    } else {
        return;  // nothing kept yet
    }
    for (const QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3, QPageSize::A5}) {
        if (QPageSize(id).key() == settings.value(QStringLiteral("pageSize")).toString()) {
            printer.setPageSize(QPageSize(id));
        }
    }
    printer.setPageOrientation(settings.value(QStringLiteral("landscape")).toBool()
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setColorMode(settings.value(QStringLiteral("colour"), true).toBool()
                             ? QPrinter::Color
                             : QPrinter::GrayScale);
    printer.setDuplex(
        static_cast<QPrinter::DuplexMode>(settings.value(QStringLiteral("duplex"), 0).toInt()));
}

}  // namespace trellicap
