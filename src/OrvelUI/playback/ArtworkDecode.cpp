#include "OrvelUI/playback/ArtworkDecode.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include <QBuffer>
#include <QImageReader>

namespace orvel {

std::string_view describe(ArtworkDecodeError error) {
    switch (error) {
    case ArtworkDecodeError::unreadable: return "not an image";
    case ArtworkDecodeError::unknownSize: return "image size not declared";
    case ArtworkDecodeError::tooLarge: return "image dimensions too large";
    case ArtworkDecodeError::failed: return "image could not be decoded";
    }
    return "image could not be decoded";
}

int artworkDecodeEdge(int maxPixelSize, const ArtworkDecodeLimits& limits) {
    return std::clamp(maxPixelSize, 64, std::max(limits.maxEdge, 64));
}

QSize artworkFittedSize(QSize declared, int edge) {
    if (declared.isEmpty() || edge <= 0) return {};
    const int longer = std::max(declared.width(), declared.height());
    if (longer <= edge) return declared;
    const double scale = double(edge) / double(longer);
    const auto side = [scale](int length) { return std::max(1, int(std::lround(length * scale))); };
    return {side(declared.width()), side(declared.height())};
}

std::expected<QImage, ArtworkDecodeError> decodeArtwork(QByteArray bytes, int maxPixelSize, ArtworkDecodeLimits limits) {
    // A process-wide setting of Qt's; set once, from whichever thread decodes first.
    static std::once_flag allocationLimitSet;
    std::call_once(allocationLimitSet, [] { QImageReader::setAllocationLimit(artworkAllocationLimitMiB); });

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) return std::unexpected(ArtworkDecodeError::unreadable);

    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty()) return std::unexpected(ArtworkDecodeError::unknownSize);
    if (declared.width() > limits.maxSide || declared.height() > limits.maxSide ||
        qint64(declared.width()) * qint64(declared.height()) > limits.maxPixels) {
        return std::unexpected(ArtworkDecodeError::tooLarge);
    }

    const QSize target = artworkFittedSize(declared, artworkDecodeEdge(maxPixelSize, limits));
    if (target != declared) reader.setScaledSize(target);
    QImage image = reader.read();
    if (image.isNull()) return std::unexpected(ArtworkDecodeError::failed);
    return image;
}

}  // namespace orvel
