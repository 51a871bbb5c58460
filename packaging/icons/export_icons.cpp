// Build tool: writes the application icon's images as hicolor PNGs,
// OUTPUT_FOLDER/<size>x<size>/apps/wertomat.png, for the Linux desktop.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <map>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: export_icons ICON.ico OUTPUT_FOLDER\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
    std::map<int, QImage> bySize;  // the last image of a size has the most colours
    for (int index = 0; index < reader.imageCount() && reader.jumpToImage(index); ++index) {
        const QImage image = reader.read();
        if (!image.isNull()) {
            bySize[image.width()] = image;
        }
    }
    if (bySize.empty()) {
        std::fprintf(stderr, "export_icons: no images in %s\n", argv[1]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    for (const auto& [size, image] : bySize) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        output.mkpath(folder);
        if (!image.save(output.filePath(folder + QStringLiteral("/wertomat.png")), "PNG")) {
            std::fprintf(stderr, "export_icons: cannot write the %dx%d image\n", size, size);
            return 1;
        }
    }
    return 0;
}
