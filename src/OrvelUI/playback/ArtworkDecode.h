#pragma once

// Turning downloaded artwork bytes into a small image, off the GUI thread. The declared size is
// read before any pixel is decoded, so absurd dimensions are refused up front, and the picture
// is always decoded straight to at most the asked edge: a full-size bitmap is never kept, and a
// small file that claims a huge picture cannot exhaust memory. Pure functions of plain values,
// safe on any thread.

#include <expected>
#include <string_view>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QtGlobal>

namespace orvel {

enum class ArtworkDecodeError {
    unreadable,   // no image format recognises the bytes
    unknownSize,  // the format does not declare its dimensions before decoding
    tooLarge,     // the declared dimensions pass the limits
    failed,       // the format was recognised but decoding went wrong
};

std::string_view describe(ArtworkDecodeError error);

struct ArtworkDecodeLimits {
    int maxSide = 16384;
    qint64 maxPixels = qint64(64) * 1024 * 1024;
    // However large a request, no decoded edge is longer than this.
    int maxEdge = 2048;

    friend bool operator==(const ArtworkDecodeLimits&, const ArtworkDecodeLimits&) = default;
};

// Every image reader of the process refuses to allocate more than this (in MiB); decoders that
// cannot scale while reading must allocate the full picture first.
inline constexpr int artworkAllocationLimitMiB = 64;

// The longer edge an image is decoded to for a request of `maxPixelSize`: at least 64 pixels,
// at most the limits' edge.
int artworkDecodeEdge(int maxPixelSize, const ArtworkDecodeLimits& limits = {});

// `declared` scaled to fit `edge` on its longer side with its aspect ratio kept (each side at
// least one pixel); never enlarged.
QSize artworkFittedSize(QSize declared, int edge);

std::expected<QImage, ArtworkDecodeError> decodeArtwork(QByteArray bytes, int maxPixelSize,
                                                        ArtworkDecodeLimits limits = {});

}  // namespace orvel
