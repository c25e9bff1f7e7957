#include "Convert.h"

#include "JpegReader.h"
#include "OutputFile.h"
#include "PcxWriter.h"

namespace nconvert {

// On a machine where every fresh page costs, a whole picture's buffers would cost more than
// decoding: rows go from the decoder to the encoder one batch at a time.
ImageInfo convert(const Options& options) {
    JpegReader reader(options.inputPath);
    OutputFile output(options.outputPath);
    PcxWriter pcx(output, reader.info());
    while (const int rows = reader.readRows()) {
        for (int i = 0; i < rows; ++i) {
            switch (reader.layout(i)) {
                case JpegReader::Layout::Interleaved:
                    pcx.writeRow(reader.row(i));
                    break;
                case JpegReader::Layout::Grey:
                    pcx.writeGreyRow(reader.row(i));
                    break;
                case JpegReader::Layout::Planar:
                    pcx.writePlanarRow(reader.row(i));
                    break;
            }
        }
    }
    reader.finish();
    pcx.finish();
    output.commit();
    return reader.info();
}

}  // namespace nconvert
