// Draws the application icon from the brand emblem, once per size of the desktop's icon theme:
// the PNG files under packaging/icons are its output, checked in, so building the program never
// needs it. Run it again (target orvella-app-icon) when the emblem changes:
//
//   QT_QPA_PLATFORM=offscreen build/bin/orvella-app-icon packaging/icons

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "OrvelUI/theme/OrvelBrandEmblem.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <icons folder>\n", argv[0]);
        return 2;
    }
    // The light tile: a cream ground reads on light and dark panels alike.
    orvel::VavuzadiRudodTheme::shared()->setForcedScheme(orvel::ColorScheme::light);

    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        orvel::OrvelBrandEmblem emblem;
        // Large icons keep a thin margin, as the desktop's other icons do; small ones use every pixel.
        emblem.setSize(size >= 48 ? size * 15.0 / 16.0 : size);
        emblem.setWidth(size);
        emblem.setHeight(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            emblem.paint(&painter);
        }
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        if (!root.mkpath(folder) || !image.save(root.filePath(folder + QStringLiteral("/orvella.png")), "PNG")) {
            std::fprintf(stderr, "could not write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
