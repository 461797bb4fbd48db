// Renders the application icon's SVG into the PNG sizes of the desktop's icon theme and into a
// Windows .ico (PNG-compressed entries, which every Windows since Vista reads):
//   trellicap-icon-render ICON.svg OUTDIR   ->  OUTDIR/<N>x<N>/trellicap.png, OUTDIR/trellicap.ico
// Built and run at build time, so only the SVG is kept in the tree.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage render(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    return image;
}

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

// ICONDIR, one ICONDIRENTRY per image, then the PNG streams.
QByteArray icoFile(const std::vector<std::pair<int, QByteArray>>& pngs) {
    QByteArray out;
    appendLe(out, 0, 2);
    appendLe(out, 1, 2);  // type: icon
    appendLe(out, static_cast<quint32>(pngs.size()), 2);
    quint32 offset = 6 + 16 * static_cast<quint32>(pngs.size());
    for (const auto& [size, png] : pngs) {
        appendLe(out, size >= 256 ? 0 : size, 1);  // 0 stands for 256
        appendLe(out, size >= 256 ? 0 : size, 1);
        appendLe(out, 0, 2);   // no palette, reserved
        appendLe(out, 1, 2);   // planes
        appendLe(out, 32, 2);  // bits per pixel
        appendLe(out, static_cast<quint32>(png.size()), 4);
        appendLe(out, offset, 4);
        offset += static_cast<quint32>(png.size());
    }
    for (const auto& entry : pngs) {
        out.append(entry.second);
    }
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: trellicap-icon-render ICON.svg OUTDIR\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QDir out(args[2]);
    std::vector<std::pair<int, QByteArray>> icoImages;
    for (const int size : kSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!render(svg, size).save(&buffer, "PNG")) {
            std::fprintf(stderr, "cannot encode the %d-pixel icon\n", size);
            return 1;
        }
        const QString folder = QStringLiteral("%1x%1").arg(size);
        if (!out.mkpath(folder) || !writeFile(out.filePath(folder + "/trellicap.png"), png)) {
            std::fprintf(stderr, "cannot write the %d-pixel icon\n", size);
            return 1;
        }
        if (size == 16 || size == 24 || size == 32 || size == 48 || size == 256) {
            icoImages.emplace_back(size, png);
        }
    }
    if (!writeFile(out.filePath(QStringLiteral("trellicap.ico")), icoFile(icoImages))) {
        std::fprintf(stderr, "cannot write trellicap.ico\n");
        return 1;
    }
    return 0;
}
