#pragma once

#include <turbojpeg.h>

#include <QImage>
#include <optional>

namespace SaveAsJPG {

// A picture as the three planes of its 4:2:0 JPEG: brightness, then the blue and the red
// difference at half resolution both ways, each padded to whole pixel pairs by repeating the edge
// pixels as the encoder pads a picture itself. Encoded, they give byte for byte the file the
// picture gives. The planes live in the calling thread's buffers until its next call.
struct JpegPlanes {
    const unsigned char* planes[3];
    int strides[3];  // not const: TurboJPEG takes both as they are
};

// A grey picture's planes: its pixels are the brightness as they stand, and both colour planes
// are the neutral 128 that red, green and blue alike convert to.
JpegPlanes greyPlanes(const QImage& picture);

// An opaque 32-bit picture's planes (blue, green, red, unused bytes), 16 rows at a time: a band
// without colour is made as a grey picture's, only a band with colour goes through the encoder's
// colour conversion. A page of black text with a coloured heading costs little more than a grey
// one. Nothing when colour reaches the picture's last two rows or columns (there the planes would
// be padded otherwise than the whole picture is), or when the encoder fails.
std::optional<JpegPlanes> bandedPlanes(tjhandle encoder, const QImage& picture);

}  // namespace SaveAsJPG
